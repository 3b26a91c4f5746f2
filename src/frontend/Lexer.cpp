#include "frontend/Lexer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frontend/Preprocessor.h"
#include "platform/Platform.h"

namespace tessel {

namespace {

constexpr size_t kKeywordSlot = 16;  // a keyword and its terminating zero

constexpr bool KeywordsFit() {
  for (std::string_view keyword : kResourceKeywords) {
    if (keyword.size() >= kKeywordSlot) return false;
  }
  return true;
}
static_assert(KeywordsFit(), "a resource type keyword does not fit its slot");

// The resource type keywords by the four bytes between their quotes, sorted for a binary search.
constexpr uint32_t PackedCode(std::string_view inner) {
  return static_cast<uint32_t>(static_cast<unsigned char>(inner[0])) |
         static_cast<uint32_t>(static_cast<unsigned char>(inner[1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(inner[2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(inner[3])) << 24;
}
struct PackedKeyword {
  uint32_t packed;
  int index;  // in kResourceKeywords
};
constexpr auto kPackedKeywords = [] {
  std::array<PackedKeyword, kResourceKeywords.size()> table{};
  for (size_t i = 0; i < kResourceKeywords.size(); ++i) {
    const std::string_view keyword = kResourceKeywords[i];
    if (keyword.size() != 6 || keyword.front() != '\'' || keyword.back() != '\'') throw "a keyword is not 'XXXX'";
    table[i] = {PackedCode(keyword.substr(1, 4)), static_cast<int>(i)};
  }
  std::sort(table.begin(), table.end(),
            [](const PackedKeyword& a, const PackedKeyword& b) { return a.packed < b.packed; });
  return table;
}();

struct Punctuation {
  char c;
  int code;
};
constexpr Punctuation kPunctuation[] = {
    {';', TOK_SEMICOLON}, {'+', TOK_PLUS},       {',', TOK_COMMA},  {'=', TOK_EQUAL},  {'[', TOK_LBRACKET},
    {']', TOK_RBRACKET},  {'\\', TOK_BACKSLASH}, {'{', TOK_LBRACE}, {'}', TOK_RBRACE}, {'|', TOK_BAR},
};

// The code of each punctuation byte; -1 for the others.
constexpr std::array<int, 256> kPunctuationCodes = [] {
  std::array<int, 256> codes{};
  codes.fill(-1);
  for (const Punctuation& p : kPunctuation) codes[static_cast<unsigned char>(p.c)] = p.code;
  return codes;
}();

constexpr bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsNameStart(unsigned char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '-'; }
constexpr bool IsLineEnd(unsigned char c) { return c == 0 || c == '\r' || c == '\n'; }

constexpr std::array<bool, 256> kNameChars = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = IsNameStart(static_cast<unsigned char>(c)) || c == '.';
  return table;
}();
bool IsNameChar(unsigned char c) { return kNameChars[c]; }

// The bytes a string or parenthesised token cannot simply step over (without a code page).
constexpr std::array<bool, 256> Stops(char closer) {
  std::array<bool, 256> table{};
  table[0] = table['\r'] = table['\n'] = table['\\'] = table[static_cast<unsigned char>(closer)] = true;
  return table;
}
constexpr std::array<bool, 256> kQuoteStops = Stops('"');
constexpr std::array<bool, 256> kParenthesisStops = Stops(')');

}  // namespace

Lexer::Lexer(ErrorContext& errors) : errors_(errors), token_(kTokenLimit + 2, '\0') {
  for (std::string_view keyword : kResourceKeywords) {
    if (keyword.size() >= kKeywordSlot) errors_.GeneralError("Too long keyword is encountered");
  }
}

void Lexer::SetSource(std::string text, size_t start) {
  text_ = std::move(text);
  text_.push_back('\0');
  start_ = pos_ = tokenStart_ = std::min(start, text_.size() - 1);
  line_ = 1;
  pendingLine_ = 0;
  saved_.clear();
  comment_.clear();
  lineComments_.clear();
  lineScan_ = false;
  deferStringEnd_ = false;
  token_[0] = '\0';
  tokenSize_ = 0;
  ForgetScans();
}

void Lexer::SetTranslation(const unsigned char* table) {
  ForgetScans();
  translation_ = nullptr;
  if (!table) return;
  std::copy(table, table + ownTranslation_.size(), ownTranslation_.begin());
  translation_ = &ownTranslation_;
}

bool Lexer::Extracting() const { return keys_ && keys_->IsKeyExtraction(); }

bool Lexer::Watched() const { return lineScan_ || Extracting(); }

// Key extraction echoes and keys nothing while a position is saved, so a look-ahead there may
// take or keep a scan like any other reading.
bool Lexer::Replayable() const { return !lineScan_ && (!Extracting() || !saved_.empty()); }

unsigned char Lexer::Next() {
  auto c = static_cast<unsigned char>(text_[pos_]);
  if (c == 0) return 0;  // the end of the text is never stepped over
  if (saved_.empty() && Extracting() && !keys_->IsKeyedString()) keys_->Echo(static_cast<char>(c));
  ++pos_;
  return c;
}

void Lexer::Advance(size_t count) {
  if (saved_.empty() && Extracting() && !keys_->IsKeyedString())
    keys_->Echo(std::string_view(text_.data() + pos_, count));
  pos_ += count;
}

bool Lexer::DoubleByteAt(const char* p) const {
  if (codePage_ == 0 || !platform::IsLeadByte(codePage_, static_cast<unsigned char>(p[0]))) return false;
  // A lead byte before the end of the text or a line end stands alone.
  return !IsLineEnd(static_cast<unsigned char>(p[1]));
}

void Lexer::EndOfLine() {
  if (lineScan_) lineComments_[line_] = comment_;
  comment_.clear();
  ++line_;
}

void Lexer::SkipLineEnd() {
  if (Next() == '\r' && text_[pos_] == '\n') Next();
  EndOfLine();
}

void Lexer::AppendComment(unsigned char c) {
  if (c == '"' && (comment_.empty() || comment_.back() != '\\')) comment_ += '\\';
  comment_ += static_cast<char>(c);
}

void Lexer::SetTokenText(size_t begin, size_t end) {
  SetTokenText(std::string_view(text_.data() + begin, end - begin));
}

void Lexer::SetTokenText(std::string_view text) {
  if (text.size() > static_cast<size_t>(kTokenLimit)) Fail("String is too long");
  std::memcpy(token_.data(), text.data(), text.size());
  token_[text.size()] = '\0';
  tokenSize_ = text.size();
  tokenScan_ = kNoLookahead;
}

void Lexer::Fail(std::string_view message, std::string_view detail, std::string_view detail2) {
  errors_.SourceError(message, detail, detail2, line_);
}

// ---- Reading tokens ----

// The comment text is kept only while it can be asked for; otherwise a comment is just stepped over.
void Lexer::ReadLineComment() {
  const char* t = text_.data();
  size_t end = pos_ + 2;
  for (;; ++end) {
    auto c = static_cast<unsigned char>(t[end]);
    if (IsLineEnd(c)) break;
    if (c == '$' && std::strncmp(t + end + 1, "NOP", 3) != 0) break;
  }
  if (Watched()) {
    while (pos_ < end) AppendComment(Next());
  } else {
    Advance(end - pos_);
  }
  if (t[end] == '$') Fail("Illegal KLX keyword");
}

void Lexer::ReadBlockComment() {
  const int startLine = line_;
  AppendComment(Next());
  AppendComment(Next());
  for (;;) {
    auto c = static_cast<unsigned char>(text_[pos_]);
    if (c == 0) errors_.SourceError("Incompleted comment", {}, {}, startLine);
    if (c == '\r' || c == '\n') {
      SkipLineEnd();
    } else if (c == '*' && text_[pos_ + 1] == '/') {
      AppendComment(Next());
      AppendComment(Next());
      return;
    } else if (Watched()) {
      AppendComment(Next());
    } else {
      Advance(1);
    }
  }
}

void Lexer::SkipToLineEnd() {
  const char* t = text_.data();
  size_t end = pos_;
  while (!IsLineEnd(static_cast<unsigned char>(t[end]))) {
    ++end;
    if (end - tokenStart_ > static_cast<size_t>(kTokenLimit)) {
      Advance(end - pos_);
      Fail("String is too long");
    }
  }
  Advance(end - pos_);
}

// During key extraction a '#' line goes to the directive reader and is skipped.
void Lexer::ReadDirective() {
  const size_t begin = pos_;
  while (!IsLineEnd(static_cast<unsigned char>(text_[pos_]))) Next();
  if (directives_) {
    std::string line(text_, begin, pos_ - begin);
    directives_->ReadDirectiveLine(line.c_str(), line_);
  }
}

void Lexer::ReadString() {
  const bool hooks = Extracting();
  const bool deferEnd = deferStringEnd_;
  deferStringEnd_ = false;
  const size_t begin = pos_;
  Next();  // the opening quote
  KeyStringState local;
  KeyStringState& state = deferEnd ? outerString_ : local;
  if (deferEnd) outerHooked_ = hooks;
  if (hooks) {
    state = KeyStringState{};
    keys_->BeginKeyString(state);
  }
  ScanToCloser(begin, '"');
  if (!Extracting()) ApplyStringForms();
  if (hooks && !deferEnd) FinishKeyString(state);
}

Lexer::TokenAside::TokenAside(Lexer& lex)
    : lex_(lex), state_([&lex]() -> TokenState& {
        if (lex.tokensAsideInUse_ == lex.tokensAside_.size())
          lex.tokensAside_.push_back(std::make_unique<TokenState>());
        return *lex.tokensAside_[lex.tokensAsideInUse_++];
      }()) {
  state_.text.assign(lex.token_.data());  // the text may have been changed in place (TokenText)
  state_.tokenStart = lex.tokenStart_;
  state_.comment = lex.comment_;
}

Lexer::TokenAside::~TokenAside() {
  std::memcpy(lex_.token_.data(), state_.text.c_str(), state_.text.size() + 1);
  lex_.tokenSize_ = state_.text.size();
  lex_.tokenScan_ = kNoLookahead;
  lex_.tokenStart_ = state_.tokenStart;
  lex_.comment_ = state_.comment;
  --lex_.tokensAsideInUse_;
}

// The key hooks may look ahead (the anchor word of a help string, the line comment);
// the string token stays the current token.
void Lexer::FinishKeyString(KeyStringState& state) {
  const TokenAside token(*this);
  if (state.outermost) keys_->SetKeyStringValue(state, token_.data());
  keys_->EndKeyString(state);
}

// Code-table translation, then the Windows form: \" becomes "" and \. becomes a dot.
void Lexer::ApplyStringForms() {
  char* t = token_.data();
  if (translation_) {
    TranslateLiteral(*translation_, t);
    tokenSize_ = std::strlen(t);  // a table may map a byte to zero
  }
  if (!std::memchr(t, '\\', tokenSize_)) return;  // both forms start at a backslash
  for (size_t i = 0; t[i];) {
    if (DoubleByteAt(t + i)) {
      i += 2;
    } else if (t[i] == '\\' && t[i + 1]) {
      if (t[i + 1] == '"') t[i] = '"';
      i += 2;
    } else {
      ++i;
    }
  }
  size_t w = 0;
  for (size_t i = 0; t[i];) {
    if (DoubleByteAt(t + i)) {
      t[w++] = t[i++];
      t[w++] = t[i++];
    } else if (t[i] == '\\' && t[i + 1] == '.') {
      t[w++] = '.';
      i += 2;
    } else if (t[i] == '\\' && t[i + 1]) {
      t[w++] = t[i++];
      t[w++] = t[i++];
    } else {
      t[w++] = t[i++];
    }
  }
  t[w] = '\0';
  tokenSize_ = w;
}

// Reads up to and including the closing character with the string rules (double-byte pairs and
// backslash pairs taken whole, no line end), and makes the text from `begin` the token text.
void Lexer::ScanToCloser(size_t begin, char closer) {
  const char* t = text_.data();
  size_t end = pos_;
  const char* failure = nullptr;
  const std::array<bool, 256>& stops = closer == '"' ? kQuoteStops : kParenthesisStops;
  for (;;) {
    if (codePage_ == 0) {
      // a run of bytes that need no look at their neighbours
      while (!stops[static_cast<unsigned char>(t[end])]) ++end;
      if (end - begin > static_cast<size_t>(kTokenLimit)) {
        end = begin + kTokenLimit + 1;
        failure = "String is too long";
        break;
      }
    }
    auto c = static_cast<unsigned char>(t[end]);
    if (IsLineEnd(c)) {
      failure = "Illegal string";
      break;
    }
    if ((c == '\\' && !IsLineEnd(static_cast<unsigned char>(t[end + 1]))) ||
        (codePage_ != 0 && DoubleByteAt(t + end))) {
      end += 2;
    } else {
      ++end;
      if (c == static_cast<unsigned char>(closer)) break;
    }
    if (end - begin > static_cast<size_t>(kTokenLimit)) {
      failure = "String is too long";
      break;
    }
  }
  Advance(end - pos_);
  if (failure) Fail(failure);
  SetTokenText(begin, end);
}

void Lexer::ReadParenthesised() {
  const size_t begin = pos_;
  Next();
  ScanToCloser(begin, ')');
}

void Lexer::ReadCommand() {
  Next();
  if (!IsLetter(static_cast<unsigned char>(text_[pos_]))) Fail("Illegal KLX command: ", "$");
  while (IsLetter(static_cast<unsigned char>(text_[pos_])) || IsDigit(static_cast<unsigned char>(text_[pos_]))) {
    Next();
    if (pos_ - tokenStart_ > static_cast<size_t>(kTokenLimit)) Fail("String is too long");
  }
  SetTokenText(tokenStart_, pos_);
}

int Lexer::ReadResourceType() {
  char code[7] = {'\'', 0, 0, 0, 0, 0, 0};
  Next();
  for (int i = 1; i <= 4; ++i) {
    auto c = static_cast<unsigned char>(text_[pos_]);
    if (c == 0) Fail("Illegal resource type: ", code);
    Next();
    code[i] = (c == '\r' || c == '\n') ? '\0' : static_cast<char>(c);
  }
  if (text_[pos_] != '\'') Fail("Illegal resource type: ", code);
  Next();
  code[5] = '\'';
  const uint32_t packed = PackedCode(std::string_view(code + 1, 4));
  const auto found = std::lower_bound(kPackedKeywords.begin(), kPackedKeywords.end(), packed,
                                      [](const PackedKeyword& k, uint32_t p) { return k.packed < p; });
  if (found != kPackedKeywords.end() && found->packed == packed) {
    SetTokenText(kResourceKeywords[static_cast<size_t>(found->index)]);
    return kFirstResourceCode + found->index;
  }
  Fail("Illegal resource type: ", code);  // a line end read as a zero byte cuts the detail there
}

void Lexer::ReadName() {
  const char* t = text_.data();
  size_t end = pos_;
  while (IsNameChar(static_cast<unsigned char>(t[end]))) ++end;
  if (end - tokenStart_ > static_cast<size_t>(kNameLimit)) {
    Advance(tokenStart_ + kNameLimit + 1 - pos_);
    Fail("Identifier or number is too long");
  }
  Advance(end - pos_);
  std::string_view name(t + tokenStart_, end - tokenStart_);
  if (name == "-" || name == "_") Fail("Illegal character: ", name);
  SetTokenText(name);
}

int Lexer::ReadToken() {
  for (;;) {
    auto c = static_cast<unsigned char>(text_[pos_]);
    if (c == ' ' || c == '\t') {
      size_t end = pos_ + 1;
      while (text_[end] == ' ' || text_[end] == '\t') ++end;
      Advance(end - pos_);
    } else if (c == '\r' || c == '\n') {
      SkipLineEnd();
    } else if (c == '/' && text_[pos_ + 1] == '/') {
      ReadLineComment();
    } else if (c == '/' && text_[pos_ + 1] == '*') {
      ReadBlockComment();
    } else if (c == '/') {
      Next();
      Fail("Illegal character: ", "/");
    } else if (c == '#' && Extracting()) {
      ReadDirective();
    } else {
      break;
    }
  }
  tokenStart_ = pos_;
  auto c = static_cast<unsigned char>(text_[pos_]);
  if (c == 0) {
    if (lineScan_) lineComments_[line_] = comment_;
    return TOK_END;
  }
  if (const int code = kPunctuationCodes[c]; code >= 0) {
    Next();
    return code;
  }
  switch (c) {
    case '"':
      ReadString();
      return TOK_STRING;
    case '(':
      ReadParenthesised();
      return TOK_NAME;
    case '#':
      SkipToLineEnd();
      SetTokenText(tokenStart_, pos_);
      return TOK_DIRECTIVE;
    case '@':
      SkipToLineEnd();
      SetTokenText(tokenStart_, pos_);
      return TOK_AT_LINE;
    case '$':
      ReadCommand();
      return TOK_COMMAND;
    case '\'':
      return ReadResourceType();
    default:
      break;
  }
  if (IsNameStart(c)) {
    ReadName();
    return TOK_NAME;
  }
  Next();
  const char detail = static_cast<char>(c);
  Fail("Illegal character: ", std::string_view(&detail, 1));
}

// ---- Token operations ----

int Lexer::GetToken() {
  comment_.clear();
  int code;
  if (Replayable() && TakeScan(code)) return code;
  return ReadToken();
}

// The same scan from the same place: its result is taken instead of scanning again.
bool Lexer::TakeScan(int& code) {
  // A token read in a look-ahead and taken right after it still holds the scan's text.
  if (lookahead_.from == pos_ && lookahead_.line == line_ &&
      (!lookahead_.hasText || tokenScan_ == pos_ || lookahead_.longText)) {
    if (lookahead_.hasText && tokenScan_ != pos_) {
      std::memcpy(token_.data(), lookahead_.text.c_str(), lookahead_.text.size() + 1);
      tokenSize_ = lookahead_.text.size();
      tokenScan_ = pos_;
    }
    pos_ = lookahead_.to;
    line_ = lookahead_.toLine;
    code = lookahead_.code;
    return true;
  }
  if (pos_ >= keptEnd_ || scanStarts_[pos_ % kScanSlots] != pos_) return false;
  const ScannedToken& scan = scans_[pos_ % kScanSlots];
  if (scan.line != line_ || scan.generation != generation_) return false;
  if (scan.hasText && tokenScan_ != pos_) {
    std::memcpy(token_.data(), scan.text, scan.size);
    token_[scan.size] = '\0';
    tokenSize_ = scan.size;
    tokenScan_ = pos_;
  }
  lookahead_.from = pos_;
  lookahead_.line = line_;
  lookahead_.code = scan.code;
  lookahead_.hasText = scan.hasText;
  lookahead_.longText = false;
  pos_ += scan.length;
  line_ += static_cast<int>(scan.lines);
  lookahead_.to = pos_;
  lookahead_.toLine = line_;
  code = scan.code;
  return true;
}

void Lexer::FreeBlock::operator()(void* p) const { std::free(p); }

void Lexer::RememberScan(size_t from, int line, int code, bool hasText) {
  lookahead_.from = from;
  lookahead_.line = line;
  lookahead_.code = code;
  lookahead_.to = pos_;
  lookahead_.toLine = line_;
  lookahead_.hasText = hasText;
  lookahead_.longText = hasText && tokenSize_ > kScanText;
  if (lookahead_.longText) {  // long texts: the last look-ahead only
    lookahead_.text.assign(token_.data(), tokenSize_);
    return;
  }
  if (keepingScans_ == 0 || pos_ - from > UINT32_MAX || code < INT16_MIN || code > INT16_MAX) return;
  if (!scans_) {
    scanStarts_.reset(static_cast<size_t*>(std::malloc(kScanSlots * sizeof(size_t))));
    if (scanStarts_) {
      std::fill_n(scanStarts_.get(), kScanSlots, kNoLookahead);
      scans_.reset(
          static_cast<ScannedToken*>(std::aligned_alloc(alignof(ScannedToken), sizeof(ScannedToken) * kScanSlots)));
    }
    if (!scans_) return;
  }
  scanStarts_[from % kScanSlots] = from;
  keptEnd_ = std::max(keptEnd_, from + 1);
  ScannedToken& scan = scans_[from % kScanSlots];
  scan.length = static_cast<uint32_t>(pos_ - from);
  scan.lines = static_cast<uint32_t>(line_ - line);
  scan.generation = generation_;
  scan.line = line;
  scan.code = static_cast<int16_t>(code);
  scan.hasText = hasText;
  scan.size = static_cast<uint8_t>(hasText ? tokenSize_ : 0);
  if (hasText) std::memcpy(scan.text, token_.data(), tokenSize_);
}

int Lexer::LookAhead() {
  SavePosition();
  comment_.clear();
  if (!Replayable()) return ReadToken();
  int code;
  if (TakeScan(code)) return code;
  const size_t from = pos_;
  const int line = line_;
  code = ReadToken();
  if (Replayable()) KeepScan(from, line, code);
  return code;
}

void Lexer::KeepScan(size_t from, int line, int code) {
  // punctuation and the end of the text leave the token text as it was
  const bool hasText = code == TOK_NAME || code == TOK_STRING || code == TOK_DIRECTIVE || code == TOK_AT_LINE ||
                       code == TOK_COMMAND || IsResourceKeyword(code);
  RememberScan(from, line, code, hasText);
  if (hasText) tokenScan_ = from;
}

// Unwatched, and with no scans kept for a second reading, the token is read at once and put back
// when it is not taken; otherwise it is read in a look-ahead and read again when taken.
template <typename Accept>
bool Lexer::ReadExpected(Accept accept, int& got, int& tokenLine) {
  if (!Watched() && keepingScans_ == 0) {
    const size_t from = pos_;
    const int line = line_;
    got = GetToken();
    tokenLine = line_;
    if (accept(got, tokenLine)) return true;
    KeepScan(from, line, got);
    pos_ = from;
    line_ = line;
    return false;
  }
  got = LookAhead();
  tokenLine = line_;
  RestorePosition();
  if (!accept(got, tokenLine)) return false;
  GetToken();  // the look-ahead's result, read again only for the key extraction hooks
  return true;
}

void Lexer::SavePosition() { saved_.push_back({pos_, line_}); }

void Lexer::RestorePosition() {
  if (saved_.empty()) return;
  pos_ = saved_.back().pos;
  line_ = saved_.back().line;
  saved_.pop_back();
}

void Lexer::Rewind(const Checkpoint& mark) {
  pos_ = mark.pos;
  line_ = mark.line;
  saved_.resize(std::min(saved_.size(), mark.saved));
  pendingLine_ = mark.pendingLine;
  deferStringEnd_ = false;
  comment_.clear();
}

int Lexer::PeekToken() {
  const int code = LookAhead();
  RestorePosition();
  return code;
}

int Lexer::PeekTokenOnLine() {
  const int before = line_;
  const int code = LookAhead();
  const int tokenLine = line_;
  RestorePosition();
  return tokenLine > before ? 0 : code;
}

void Lexer::CheckLineEnd() {
  if (PeekTokenOnLine() != 0) Fail("Extra character on line");
}

// An expected token is first read in a look-ahead and read for real only when it is
// taken. A token that is not taken stays unread: the next read returns it at its own
// line, and key extraction sees it (echo, key hooks, directive hooks) only once.
char* Lexer::Unexpected(int tokenLine, int reportLine, const char* message) {
  pendingLine_ = tokenLine;
  if (message) errors_.SourceError(message, {}, {}, reportLine);
  return nullptr;
}

char* Lexer::ExpectToken(int code, const char* message) {
  int got, tokenLine;
  if (!ReadExpected([code](int c, int) { return c == code; }, got, tokenLine)) {
    return Unexpected(tokenLine, tokenLine, message);
  }
  return TokenText();
}

char* Lexer::ExpectTokenOnLine(int code, const char* message) {
  const int before = line_;
  int got, tokenLine;
  if (!ReadExpected([code, before](int c, int l) { return c == code && l == before; }, got, tokenLine)) {
    return Unexpected(tokenLine, before, message);
  }
  return TokenText();
}

char* Lexer::ExpectTokenOnNewLine(int code, const char* message) {
  const int before = line_;
  int got, tokenLine;
  if (!ReadExpected([code, before](int c, int l) { return c == code && l != before; }, got, tokenLine)) {
    if (tokenLine == before) Fail(got == TOK_END ? "Unexpected end of file" : "Extra character on line");
    return Unexpected(tokenLine, tokenLine, message);
  }
  return TokenText();
}

char* Lexer::GetTokenText() {
  GetToken();
  return TokenText();
}

char* Lexer::GetOptionalString() {
  if (PeekToken() != TOK_STRING) return nullptr;
  deferStringEnd_ = true;
  outerHooked_ = false;
  GetToken();
  deferStringEnd_ = false;
  const bool hooked = outerHooked_;
  JoinStrings();
  if (hooked) FinishKeyString(outerString_);
  return TokenText();
}

void Lexer::JoinStrings() {
  static constexpr const char* kExpected = "String is expected after concatenation (\\)";
  std::string& joined = joinBuffer_;  // kept between calls: no allocation per literal
  joined.assign(token_.data(), tokenSize_);
  auto append = [&] {
    std::string_view literal(token_.data());
    if (joined.size() + literal.size() - 2 >= static_cast<size_t>(kTokenLimit)) Fail("Internal error");
    joined.pop_back();
    joined.append(literal.substr(1));
  };
  for (;;) {
    for (int next = PeekTokenOnLine(); next == TOK_PLUS || next == TOK_STRING; next = PeekTokenOnLine()) {
      if (next == TOK_PLUS) {
        GetToken();
        if (PeekTokenOnLine() != TOK_STRING) Fail(kExpected);
      }
      GetToken();
      append();
    }
    if (PeekTokenOnLine() != TOK_BACKSLASH) break;
    GetToken();
    const int backslashLine = line_;
    if (GetToken() != TOK_STRING || line_ == backslashLine) errors_.SourceError(kExpected, {}, {}, backslashLine);
    append();
  }
  SetTokenText(joined);
}

char* Lexer::StripQuotes(char* text) {
  if (!text || text[0] != '"') return text;
  text[std::strlen(text) - 1] = '\0';
  return text + 1;
}

const std::string& Lexer::LineComment() {
  const int line = line_;
  // The comments of the lines before are not asked for again (they would be scanned again).
  lineComments_.erase(lineComments_.begin(), lineComments_.lower_bound(line));
  if (lineComments_.find(line) == lineComments_.end()) {
    // Scan the rest of the line in a look-ahead; everything the scan touches is put back.
    const TokenAside token(*this);
    SavePosition();
    const bool scanning = lineScan_;
    lineScan_ = true;
    while (GetToken() != TOK_END && line_ == line) {
    }
    lineScan_ = scanning;
    RestorePosition();
  }
  return lineComments_[line];
}

// ---- Block-comment clearing ----

void Lexer::ClearBlockComments() {
  enum class State { Outside, Comment, String };
  char* t = text_.data();
  // Lines are counted only for a report: outside strings the scan passes over line ends.
  auto lineAt = [&](size_t pos) {
    int line = 1;
    for (size_t k = start_; k < pos; ++k) {
      if (t[k] == '\n' || (t[k] == '\r' && t[k + 1] != '\n')) ++line;
    }
    return line;
  };
  State state = State::Outside;
  int depth = 0;
  size_t commentBegin = 0;
  size_t i = start_;
  for (;;) {
    switch (state) {
      case State::Outside:
        i += std::strcspn(t + i, "/\"");
        break;
      case State::Comment:
        i += std::strcspn(t + i, "/*");
        break;
      case State::String:
        if (codePage_ == 0) i += std::strcspn(t + i, "\\\"\r\n");
        break;
    }
    if (!t[i]) break;
    const char c = t[i];
    if (c == '\r' || c == '\n') {  // in a string
      errors_.SourceError("Illegal string", {}, {}, lineAt(i));
    }
    switch (state) {
      case State::Outside:
        if (c == '/' && t[i + 1] == '*') {
          state = State::Comment;
          depth = 1;
          commentBegin = i;
          i += 2;
        } else if (c == '/' && t[i + 1] == '/') {
          // A line comment stays for the lexer; quotes and comment marks in it mean nothing here.
          i += std::strcspn(t + i, "\r\n");
        } else {
          if (c == '"') state = State::String;
          ++i;
        }
        break;
      case State::Comment:
        if (c == '/' && t[i + 1] == '*') {
          ++depth;
          i += 2;
        } else if (c == '*' && t[i + 1] == '/') {
          i += 2;
          if (--depth == 0) {
            for (size_t k = commentBegin; k < i; ++k) {
              if (t[k] != '\r' && t[k] != '\n') t[k] = ' ';
            }
            state = State::Outside;
          }
        } else {
          ++i;
        }
        break;
      case State::String:
        if (DoubleByteAt(t + i) || (c == '\\' && !IsLineEnd(static_cast<unsigned char>(t[i + 1])))) {
          i += 2;
        } else {
          if (c == '"') state = State::Outside;
          ++i;
        }
        break;
    }
  }
  if (state == State::Comment) errors_.SourceError("Incompleted comment", {}, {}, lineAt(commentBegin));
  if (state == State::String) errors_.SourceError("Illegal string", {}, {}, lineAt(i));
}

}  // namespace tessel
