#include "resources/IdentifierPairs.h"

#include <string>

#include "resources/Context.h"

namespace tessel {

void ConvertIdentifierPair(Context& ctx) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;

  const std::string id = lex.ExpectTokenOnLine(TOK_NAME, "Resource ID is missing");
  ctx.errors.SetResourceID(id.c_str());
  out.Printf("%s MDID", id.c_str());
  out.WriteNewLine();
  out.WriteLine("BEGIN");
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
