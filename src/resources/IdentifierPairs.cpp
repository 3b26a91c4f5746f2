// Placeholder: replaced by the module's implementation.
#include "resources/IdentifierPairs.h"
#include "resources/Context.h"

namespace tessel {
void ConvertIdentifierPair(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
