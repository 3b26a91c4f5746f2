#include "resources/ResourceBlock.h"

#include "resources/Context.h"

namespace tessel {

std::string BeginResourceBlock(Context& ctx, const char* outputType) {
  std::string id = ctx.lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  ctx.out.Printf("%s %s", id.c_str(), outputType);
  ctx.out.WriteNewLine();
  ctx.out.WriteLine("BEGIN");
  return id;
}

}  // namespace tessel
