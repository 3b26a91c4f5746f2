// Placeholder: replaced by the module's implementation.
#include "resources/DataFiles.h"
#include "resources/Context.h"

namespace tessel {
void ConvertTextFile(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ListTextDependency(Context& ctx, const std::string&, int) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertFile(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertDataFile(Context& ctx, const char*) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
int WriteFolderTable(Context&) { return 0; }
}  // namespace tessel
