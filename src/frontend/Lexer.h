// The lexer: turns the preprocessed source text into tokens for the resource loop
// and the handlers, and clears block comments before preprocessing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Errors.h"
#include "encoding/CodeTables.h"
#include "frontend/Tokens.h"
#include "keys/KeyContext.h"

namespace tessel {

class Preprocessor;

class Lexer {
 public:
  explicit Lexer(ErrorContext& errors);

  // Takes the whole source (a terminating zero byte is added); reading starts at `start`
  // (after a byte-order mark). Sets the current line to 1.
  void SetSource(std::string text, size_t start = 0);
  // The source buffer (zero-terminated), rewritten in place by comment clearing and preprocessing.
  // Frees the source text once the last token has been read.
  void ReleaseSource() {
    SetSource(std::string());
    text_.shrink_to_fit();
  }
  char* Text() {
    ForgetScans();
    return text_.data();
  }
  size_t TextStart() const { return start_; }

  void SetCodePage(uint16_t codePage) {
    codePage_ = codePage;
    ForgetScans();
  }
  uint16_t CodePage() const { return codePage_; }
  // Translation of string bytes (code table), or null for none.
  void SetTranslation(const Translation* translation) {
    translation_ = translation;
    ForgetScans();
  }
  // The same from a 256-byte table (copied).
  void SetTranslation(const unsigned char* table);
  void SetTranslation(std::nullptr_t) {
    translation_ = nullptr;
    ForgetScans();
  }
  // Key-extraction hooks; both may stay unset (no key extraction).
  void SetKeyContext(KeyContext* keys) { keys_ = keys; }
  KeyContext* Keys() const { return keys_; }
  void SetDirectiveReader(Preprocessor* reader) { directives_ = reader; }

  int GetToken();
  // The token text, which the caller may change in place.
  char* TokenText() {
    tokenScan_ = kNoLookahead;
    return token_.data();
  }
  // The text of the token just read (before any change made to it through TokenText).
  std::string_view TokenView() const { return {token_.data(), tokenSize_}; }
  int TokenLine() const { return line_; }
  int PendingTokenLine() const { return pendingLine_; }
  int PeekToken();
  int PeekTokenOnLine();
  void CheckLineEnd();
  // Returns the token text when the next token has the code; otherwise leaves it unread
  // (its line is kept as the pending token line) and reports `message` (or returns null
  // when `message` is null).
  char* ExpectToken(int code, const char* message);
  char* ExpectTokenOnLine(int code, const char* message);
  char* ExpectTokenOnNewLine(int code, const char* message);
  char* GetTokenText();
  // A string literal with the literals joined to it, or null (nothing consumed).
  char* GetOptionalString();
  void SavePosition();
  void RestorePosition();
  bool PositionSaved() const { return !saved_.empty(); }
  // Between these (see ReadAhead) the scans of look-aheads are kept for a second reading of the
  // same text; elsewhere only the last look-ahead's is.
  void BeginKeepingScans() { ++keepingScans_; }
  void EndKeepingScans() { --keepingScans_; }
  // Where a reading that may fail begins: Rewind puts the lexer back there after a fatal error
  // ended that reading, with the look-aheads it left open closed.
  struct Checkpoint {
    size_t pos;
    int line;
    size_t saved;
    int pendingLine;
  };
  Checkpoint Mark() const { return {pos_, line_, saved_.size(), pendingLine_}; }
  void Rewind(const Checkpoint& mark);
  // For the searches over the whole text, between SavePosition and RestorePosition: the read
  // position, and a move of it to `pos` with `line` as the current line.
  size_t ReadPosition() const { return pos_; }
  void MoveTo(size_t pos, int line) {
    pos_ = pos;
    line_ = line;
  }
  // The comment text of the current line (key extraction).
  const std::string& LineComment();

  // Blanks every block comment (nested ones too) with spaces, keeping line ends.
  void ClearBlockComments();

  // Reports a source error at the current line.
  [[noreturn]] void Fail(std::string_view message, std::string_view detail = {}, std::string_view detail2 = {});
  ErrorContext& Errors() { return errors_; }

  // Removes the quotes of a string token text in place; other texts are returned unchanged.
  static char* StripQuotes(char* text);

 private:
  struct Saved {
    size_t pos;
    int line;
  };
  // The last token read or taken in a look-ahead, so that reading it for real needs no second
  // scan and, while the token text is still its text, no look-up either.
  static constexpr size_t kNoLookahead = static_cast<size_t>(-1);
  struct Lookahead {
    size_t from = kNoLookahead;
    int line = 0;
    int code = 0;
    size_t to = 0;
    int toLine = 0;
    bool hasText = false;
    bool longText = false;  // the text is kept here, not in a slot
    std::string text;
  };
  // Short tokens of earlier look-aheads by read position, so that the second reading of a body
  // read twice finds them scanned. A slot is valid for the generation it was made in; whatever
  // changes the text or how it is read starts a new one. A slot fills one cache line, and the
  // starts are kept apart, so that a look-up of a place never scanned stays within a few lines.
  static constexpr size_t kScanSlots = 8192;
  static constexpr size_t kScanText = 44;
  struct alignas(64) ScannedToken {
    uint32_t length;  // read position after the token, less the start
    uint32_t lines;   // line ends passed
    uint32_t generation;
    int line;
    int16_t code;
    uint8_t size;
    bool hasText;
    char text[kScanText];
  };
  static_assert(sizeof(ScannedToken) == 64);
  struct FreeBlock {
    void operator()(void* p) const;
  };
  void ForgetScans() {
    lookahead_.from = kNoLookahead;
    tokenScan_ = kNoLookahead;
    keptEnd_ = 0;
    ++generation_;
  }
  void RememberScan(size_t from, int line, int code, bool hasText);
  // RememberScan of the token just read from `from`, whose text (if it has one) is still the token text.
  void KeepScan(size_t from, int line, int code);
  // Reads the token an expectation looks for; `accept(code, line)` decides whether it is taken.
  // A token not taken is left unread; `got` and `tokenLine` tell what and where it is.
  template <typename Accept>
  bool ReadExpected(Accept accept, int& got, int& tokenLine);
  bool TakeScan(int& code);
  // What a look-ahead made inside a token read (by a key hook) must leave as it was.
  struct TokenState {
    std::string text;
    size_t tokenStart = 0;
    std::string comment;
  };
  // Puts the token state aside while it lives and restores it at its end. The states put aside
  // (they nest) keep their buffers for the next time.
  class TokenAside {
   public:
    explicit TokenAside(Lexer& lex);
    ~TokenAside();
    TokenAside(const TokenAside&) = delete;
    TokenAside& operator=(const TokenAside&) = delete;

   private:
    Lexer& lex_;
    TokenState& state_;
  };

  int ReadToken();
  void ReadString();
  void ScanToCloser(size_t begin, char closer);
  void ReadParenthesised();
  void ReadLineComment();
  void ReadBlockComment();
  void ReadDirective();
  int ReadResourceType();
  void ReadName();
  void ReadCommand();
  void ApplyStringForms();
  void FinishKeyString(KeyStringState& state);
  unsigned char Next();        // consumes one character (echoed during key extraction)
  void Advance(size_t count);  // consumes `count` characters, none of them the end of the text
  int LookAhead();             // GetToken in a look-ahead: nothing is consumed
  void SkipLineEnd();
  bool DoubleByteAt(const char* p) const;
  bool Extracting() const;
  // Whether the reading is watched (key extraction hooks, comment records), so that every
  // character must really be read.
  bool Watched() const;
  // Whether a token may be taken from an earlier scan of the same place, or a scan kept.
  bool Replayable() const;
  void AppendComment(unsigned char c);
  void SetTokenText(std::string_view text);
  void SetTokenText(size_t begin, size_t end);
  char* Unexpected(int tokenLine, int reportLine, const char* message);
  void JoinStrings();
  void SkipToLineEnd();
  void EndOfLine();

  ErrorContext& errors_;
  std::string text_;
  size_t start_ = 0;
  size_t pos_ = 0;
  size_t tokenStart_ = 0;
  std::vector<char> token_;
  size_t tokenSize_ = 0;
  size_t tokenScan_ = static_cast<size_t>(-1);  // where the kept scan whose text the token holds starts
  Lookahead lookahead_;
  // Allocated on first use; a slot is read only when its start matches (so untouched slots
  // cost nothing).
  std::unique_ptr<size_t[], FreeBlock> scanStarts_;
  std::unique_ptr<ScannedToken[], FreeBlock> scans_;
  uint32_t generation_ = 1;
  int keepingScans_ = 0;
  size_t keptEnd_ = 0;  // past the start of the last kept scan: no slot holds a later place
  int line_ = 1;
  int pendingLine_ = 0;  // line of the last token an expectation left unread
  std::vector<Saved> saved_;
  bool deferStringEnd_ = false;  // the next string is the first of a joined literal
  KeyStringState outerString_;
  bool outerHooked_ = false;
  std::string comment_;
  std::string joinBuffer_;
  std::vector<std::unique_ptr<TokenState>> tokensAside_;
  size_t tokensAsideInUse_ = 0;
  std::map<int, std::string> lineComments_;
  bool lineScan_ = false;
  uint16_t codePage_ = 0;
  const Translation* translation_ = nullptr;
  Translation ownTranslation_{};
  KeyContext* keys_ = nullptr;
  Preprocessor* directives_ = nullptr;
};

}  // namespace tessel
