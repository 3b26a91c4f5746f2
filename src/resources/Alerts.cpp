#include "resources/Alerts.h"

#include <array>
#include <string>
#include <string_view>

#include "frontend/Values.h"
#include "resources/Context.h"
#include "resources/ResourceBlock.h"
#include "resources/ResourceTypes.h"

namespace tessel {

namespace {

struct AlertKind {
  std::string_view word;
  std::string_view value;
};

constexpr std::array<AlertKind, 4> kAlertKinds = {{
    {"Information", "DG_INFORMATION"},
    {"Attention", "DG_WARNING"},
    {"Warning", "DG_WARNING"},
    {"Error", "DG_ERROR"},
}};

constexpr int kAlertTexts = 5;

// Any word or number outside the table is written as it stands.
std::string AlertKindValue(std::string_view word) {
  for (const AlertKind& kind : kAlertKinds)
    if (kind.word == word) return std::string(kind.value);
  return std::string(word);
}

// The next text of an alert; a missing one is refused at the token found instead.
std::string ReadAlertText(Lexer& lex) {
  const char* text = lex.GetOptionalString();
  if (!text) lex.ExpectToken(TOK_STRING, "String is missing");
  return text;
}

}  // namespace

void ConvertAlert(Context& ctx, const ResourceType& type) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;
  KeyContext& keys = ctx.keys;

  ctx.dialogDefinitionsUsed = true;

  const std::string id = BeginResourceBlock(ctx, type.outputType);
  keys.PushKeyScope("QALR");
  keys.PushKeyScope(id);

  const std::string kind = AlertKindValue(lex.ExpectTokenOnLine(TOK_NAME, "An item is missing"));

  keys.PushKeyScope("Title");
  const char* titleToken = lex.ExpectTokenOnLine(TOK_STRING, nullptr);
  const bool hasTitle = titleToken != nullptr;
  const std::string title = hasTitle ? titleToken : "";
  keys.PopKeyScope();
  // The kind's two bytes and the title's zero byte are counted here too.
  long size = hasTitle ? StringByteCount(lex, title.c_str()) + 1 : 3;

  lex.ExpectToken(TOK_LBRACE, "{ is expected");

  if (keys.IsKeyExtraction()) {
    while (lex.PeekToken() == TOK_STRING) {
      keys.NextKeyItem();
      lex.GetOptionalString();
    }
  } else {
    std::array<std::string, kAlertTexts> texts;
    lex.CheckLineEnd();
    texts[0] = ReadAlertText(lex);
    lex.CheckLineEnd();
    for (int i = 1; i < kAlertTexts; ++i) texts[i] = ReadAlertText(lex);
    for (const std::string& text : texts) size += StringByteCount(lex, text.c_str()) - 1;

    out.Printf("\t%ld, %ld,", size & 0xFFFF, size >> 16);
    out.WriteNewLine();
    out.Printf("\t%s,", kind.c_str());
    out.WriteNewLine();
    if (hasTitle)
      out.WriteDataString(lex, title.c_str(), 1);
    else
      out.WriteLine("\t\"\\0\",");
    for (const std::string& text : texts) out.WriteDataString(lex, text.c_str(), 1);
    out.WriteLineBlank("END");
  }

  lex.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
  keys.PopKeyScope();
  keys.PopKeyScope();
}

}  // namespace tessel
