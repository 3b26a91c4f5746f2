// Readers of dialog item fields: words, numbers, keywords of the dialog tables, icon
// references and flag lists, each reporting its own errors at the lexer's current line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Common/Format.h"
#include "dialogs/DialogTables.h"

namespace tessel {
struct Context;
}

namespace tessel::dialog {

// The decimal text an icon reference stands for: the value of a named icon, else the word.
std::string IconText(std::string_view word);

class FieldReader {
 public:
  explicit FieldReader(Context& ctx) : ctx_(ctx) {}

  // The next word on the current line ("An item is missing" when there is none).
  std::string Word();
  // An unsigned 16-bit number on the current line.
  uint16_t Number();
  // A string token on the current line ("String is missing").
  std::string Text();
  // The next token when it is a word, on any line; nothing is read.
  std::optional<std::string> PeekWord();
  std::optional<std::string> PeekWordOnLine();
  bool WordFollowsOnLine() { return PeekWordOnLine().has_value(); }

  // A required keyword of the table: its output text.
  std::string_view Keyword(const KeywordTable& table);
  // A keyword of the table when a word follows on the line, else the table's absent text.
  std::string_view OptionalKeyword(const KeywordTable& table);
  std::string_view Font() { return Keyword(kFonts); }
  // The button frame, optionally followed by a word of `second`; or a lone word of `second`.
  std::string_view FrameOption(const KeywordTable& second);

  // The value of an icon reference word (0, unchecked, during key extraction).
  uint16_t IconValue(const std::string& word);
  uint16_t ReadIconReference() { return IconValue(Word()); }

  // A flag list, when the next word is one of the table's keywords. The font keywords
  // are refused unless `fontFlagsAllowed`.
  FlagSet ReadFlags(const FlagSetTable& table, bool fontFlagsAllowed = true);

  [[noreturn]] void Unrecognized(std::string_view word);

 private:
  Context& ctx_;
};

}  // namespace tessel::dialog
