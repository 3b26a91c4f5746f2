#include "resources/IdentifierPairs.h"

#include "resources/Context.h"
#include "resources/ResourceBlock.h"
#include "resources/ResourceTypes.h"

namespace tessel {

void ConvertIdentifierPair(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;

  BeginResourceBlock(ctx, type.outputType);
  out.WriteLine("\t8, 0,");

  lex.ExpectTokenOnLine(TOK_STRING, "String is missing");
  lex.ExpectToken(TOK_LBRACE, "{ is expected");

  // Each value is written as a long expression that the resource compiler evaluates.
  const char* first = lex.ExpectTokenOnNewLine(TOK_NAME, "An item is missing");
  out.Printf("\t0L + %s,", first);
  out.WriteNewLine();
  const char* second = lex.ExpectTokenOnNewLine(TOK_NAME, "An item is missing");
  out.Printf("\t0L + %s", second);
  out.WriteNewLine();

  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  out.WriteLineBlank("END");
}

}  // namespace tessel
