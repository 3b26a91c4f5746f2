#include "resources/ResourceBlock.h"

#include "resources/Context.h"

namespace tessel {

std::string BeginResourceBlock(Context& ctx, const char* outputType) {
  std::string id = ctx.lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  ctx.out.WriteString(std::string_view(id.c_str()));  // as "%s" takes it: up to a zero byte
  ctx.out.WriteString(" ");
  ctx.out.WriteLine(outputType);
  ctx.out.WriteLine("BEGIN");
  return id;
}

}  // namespace tessel
