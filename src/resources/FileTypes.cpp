// Placeholder: replaced by the module's implementation.
#include "resources/FileTypes.h"
#include "resources/Context.h"

namespace tessel {
void ConvertFileTypeGroup(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertFileType(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void CheckFileTypeGraph(Context&) {}
}  // namespace tessel
