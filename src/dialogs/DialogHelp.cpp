// Placeholder: replaced by the module's implementation.
#include "dialogs/DialogHelp.h"
#include "resources/Context.h"

namespace tessel {
void ConvertDialogHelp(Context& ctx, int) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
