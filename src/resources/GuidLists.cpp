// Placeholder: replaced by the module's implementation.
#include "resources/GuidLists.h"
#include "resources/Context.h"

namespace tessel {
void ConvertLay2List(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertMepsList(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
