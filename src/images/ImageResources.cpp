// Placeholder: replaced by the module's implementation.
#include "images/ImageResources.h"
#include "resources/Context.h"

namespace tessel {
void ConvertIcon(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertCursor(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ConvertIconList(Context& ctx) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ListIconDependency(Context& ctx, const std::string&, int) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
void ListCursorDependency(Context& ctx, const std::string&, int) { ctx.Fail("Structure beginning keyword is expected or illegal keyword in this program mode"); }
}  // namespace tessel
