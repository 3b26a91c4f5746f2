// Placeholder: replaced by the module's implementation.
#include "dialogs/Dialog.h"
#include "resources/Context.h"

namespace tessel {
void ConvertDialog(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
