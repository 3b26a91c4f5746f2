// Placeholder: replaced by the module's implementation.
#include "resources/StringResources.h"
#include "resources/Context.h"

namespace tessel {
void ConvertStringList(Context& ctx, const char*) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertSingleString(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
