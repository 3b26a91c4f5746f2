#include "dialogs/DialogFields.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "frontend/Values.h"
#include "resources/Context.h"

namespace tessel::dialog {

std::string IconText(std::string_view word) {
  if (auto value = NamedIcon(word)) return std::to_string(*value);
  return std::string(word);
}

std::string FieldReader::Word() {
  ctx_.lex.ExpectTokenOnLine(TOK_NAME, "An item is missing");
  return std::string(ctx_.lex.TokenView());
}

uint16_t FieldReader::Number() {
  return ParseUShort(ctx_.lex, ctx_.lex.ExpectTokenOnLine(TOK_NAME, "An item is missing"));
}

std::string FieldReader::Text() {
  ctx_.lex.ExpectTokenOnLine(TOK_STRING, "String is missing");
  return std::string(ctx_.lex.TokenView());
}

std::optional<std::string> FieldReader::PeekWord() {
  if (ctx_.lex.PeekToken() != TOK_NAME) return std::nullopt;
  return std::string(ctx_.lex.TokenView());
}

std::optional<std::string> FieldReader::PeekWordOnLine() {
  if (ctx_.lex.PeekTokenOnLine() != TOK_NAME) return std::nullopt;
  return std::string(ctx_.lex.TokenView());
}

std::string_view FieldReader::Keyword(const KeywordTable& table) {
  std::string word = Word();
  auto text = Lookup(table, word);
  if (!text) Unrecognized(word);
  return *text;
}

std::string_view FieldReader::OptionalKeyword(const KeywordTable& table) {
  if (WordFollowsOnLine()) return Keyword(table);
  return table.absent ? table.absent : "";
}

std::string_view FieldReader::FrameOption(const KeywordTable& second) {
  std::string_view frame = kButtonFrames.absent;
  if (!WordFollowsOnLine()) return frame;
  std::string word = Word();
  if (auto text = Lookup(kButtonFrames, word)) {
    frame = *text;
    if (WordFollowsOnLine()) Keyword(second);
  } else if (!Lookup(second, word)) {
    Unrecognized(word);
  }
  return frame;
}

uint16_t FieldReader::IconValue(const std::string& word) {
  if (ctx_.keys.IsKeyExtraction()) return 0;
  if (auto value = NamedIcon(word)) return *value;
  return ParseUShort(ctx_.lex, word.c_str());
}

FlagSet FieldReader::ReadFlags(const FlagSetTable& table, bool fontFlagsAllowed) {
  FlagSet flags(table);
  auto first = PeekWord();
  if (!first || !flags.IsKeyword(*first)) return flags;
  std::vector<std::string> words;
  for (;;) {
    words.push_back(Word());
    if (ctx_.lex.PeekTokenOnLine() != TOK_BAR) break;
    ctx_.lex.GetToken();
  }
  if (!fontFlagsAllowed) {
    for (const auto& word : words) {
      if (std::ranges::find(kFontFlagKeywords, word) != std::end(kFontFlagKeywords))
        ctx_.Fail("Illegal font flag (this is only for LengthEdit): ", word);
    }
  }
  for (const auto& word : words) {
    if (!flags.Apply(word)) Unrecognized(word);
  }
  return flags;
}

void FieldReader::Unrecognized(std::string_view word) { ctx_.Fail("Can't recognize item ", word); }

}  // namespace tessel::dialog
