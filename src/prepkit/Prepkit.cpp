// Placeholder: replaced by the module's implementation.
#include "prepkit/Prepkit.h"

namespace tessel {
int PrepkitMain(int, char**) { return 1; }
}  // namespace tessel
