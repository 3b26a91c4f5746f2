#include "resources/StringResources.h"

#include <array>
#include <cstring>
#include <string_view>

#include "frontend/Values.h"
#include "platform/Platform.h"
#include "resources/Context.h"
#include "resources/ResourceBlock.h"
#include "resources/ResourceTypes.h"
#include "resources/SizedBody.h"

namespace tessel {

namespace {

// The strings of a list, up to the first token that is not a string. The checking reading
// returns the byte count of the string area; the writing reading writes the strings.
unsigned long ReadStringListBody(Context& ctx, bool writing) {
  Lexer& lex = ctx.lex;
  const bool extracting = ctx.keys.IsKeyExtraction();
  unsigned long size = 0;
  while (lex.PeekToken() == TOK_STRING) {
    if (writing) ctx.keys.NextKeyItem();
    const char* literal = lex.GetOptionalString();
    if (extracting) continue;
    const std::string bytes = LiteralBytes(lex, literal);
    size += bytes.size() + 1;
    if (!writing) continue;
    ctx.out.WriteDataBytes(bytes);
    ctx.out.WriteDataByte(0);
  }
  return size;
}

}  // namespace

void ConvertStringList(Context& ctx, const ResourceType& type) {
  const char* outputType = type.outputType;
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;
  KeyContext& keys = ctx.keys;

  const std::string id = BeginResourceBlock(ctx, outputType);
  keys.PushKeyScope(outputType);
  keys.PushKeyScope(id);
  keys.SetKeyItem(0);

  lex.ExpectTokenOnLine(TOK_STRING, "String is missing");
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  lex.CheckLineEnd();

  // The size of the string area precedes its data.
  ReadSizedBody(
      ctx,
      [&](bool writing) {
        if (writing) out.StartDataBlock(1);
        return ReadStringListBody(ctx, writing);
      },
      [&](unsigned long size) {
        out.Printf("\t%ld, %ld,", static_cast<long>(size & 0xFFFF), static_cast<long>(size >> 16));
        out.WriteNewLine();
      });
  out.FlushDataBytes();

  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  out.WriteLineBlank("END");
  keys.PopKeyScope();
  keys.PopKeyScope();
}

void ConvertSingleString(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;

  BeginResourceBlock(ctx, type.outputType);
  lex.ExpectTokenOnLine(TOK_STRING, "String is missing");
  lex.ExpectToken(TOK_LBRACE, "{ is expected");
  lex.CheckLineEnd();

  const char* literal = lex.GetOptionalString();
  if (!literal) lex.ExpectToken(TOK_STRING, "String is missing");  // reports at the token found
  const std::string text = literal;
  const long count = StringByteCount(lex, text.c_str());
  // The length is one byte in the resource: a longer text would be stored corrupted.
  if (count - 2 > 255) ctx.Fail("String is too long");
  const long length = count < 2 ? 0 : count - 2;
  out.Printf("\t%ld, %ld,", (length + 1) & 0xFFFF, (length + 1) >> 16);
  out.WriteNewLine();
  out.Printf("\t\"\\x%02lX%s", length, text.c_str() + (text.empty() ? 0 : 1));
  out.WriteNewLine();

  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  out.WriteLineBlank("END");
}

}  // namespace tessel
