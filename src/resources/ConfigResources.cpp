// Placeholder: replaced by the module's implementation.
#include "resources/ConfigResources.h"
#include "resources/Context.h"

namespace tessel {
void ConvertConfigRecord(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertLabelValueList(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertCommandTable(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
