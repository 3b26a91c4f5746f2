#include "dialogs/AnchorIndex.h"

#include <cstring>

#include "frontend/Values.h"
#include "platform/Platform.h"
#include "resources/Context.h"

namespace tessel {

namespace {

constexpr const char* kAnchorMissing = "Resource Anchor is missing for item with index: ";
constexpr size_t kTitleLimit = 271;

// Keeps the lexer's read position and token text across a search.
class SearchScope {
 public:
  explicit SearchScope(Lexer& lex) : lex_(lex), token_(lex.TokenText()) { lex_.SavePosition(); }
  ~SearchScope() {
    lex_.RestorePosition();
    std::memcpy(lex_.TokenText(), token_.c_str(), token_.size() + 1);
  }
  SearchScope(const SearchScope&) = delete;
  SearchScope& operator=(const SearchScope&) = delete;

 private:
  Lexer& lex_;
  std::string token_;
};

// The first `limit` bytes of a text, without splitting a double-byte character.
std::string Cut(const char* text, size_t limit, uint16_t codePage) {
  size_t length = std::strlen(text);
  size_t end = 0;
  while (end < length) {
    size_t step = platform::IsLeadByte(codePage, static_cast<unsigned char>(text[end])) && end + 1 < length ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return std::string(text, end);
}

}  // namespace

void AnchorIndex::Build(Lexer& lex) {
  built_ = true;
  const char* text = lex.Text();
  int line = 1;
  for (size_t i = lex.TextStart();; ++i) {
    i += std::strcspn(text + i, "\r\n'");
    const char c = text[i];
    if (c == 0) break;
    if (c == '\r') {
      ++line;
      if (text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      ++line;
    } else {
      Keyword* keyword = nullptr;
      if (std::strncmp(text + i, "'QDLG'", 6) == 0)
        keyword = &dialogs_;
      else if (std::strncmp(text + i, "'DLGH'", 6) == 0)
        keyword = &helps_;
      if (keyword) keyword->places.push_back(Place{text[i + 6] ? i + 7 : i + 6, line});
    }
  }
}

// The first place of the keyword whose leading word is `id` and for which `check` (reading on
// from the word) holds; the lexer then stands where `check` left it. Every place is read up to
// its leading word once, and on from there at most once, in the order a search from the start
// of the text would read them.
template <class Check>
bool AnchorIndex::FindFirst(Lexer& lex, Keyword& keyword, const std::string& id, Check check) {
  if (!built_) Build(lex);
  if (auto waiting = keyword.waiting.find(id); waiting != keyword.waiting.end()) {
    while (!waiting->second.empty()) {
      const Place& place = keyword.places[waiting->second.front()];
      waiting->second.pop_front();
      lex.MoveTo(place.pos, place.line);
      lex.GetToken();
      if (check()) return true;
    }
  }
  while (keyword.next < keyword.places.size()) {
    size_t at = keyword.next++;
    lex.MoveTo(keyword.places[at].pos, keyword.places[at].line);
    if (lex.PeekTokenOnLine() != TOK_NAME) continue;
    if (id != lex.TokenText()) {
      keyword.waiting[lex.TokenText()].push_back(at);
      continue;
    }
    lex.GetToken();
    if (check()) return true;
  }
  return false;
}

std::string AnchorIndex::DialogTitle(Context& ctx, std::string_view dialogId) {
  if (ctx.keys.IsKeyExtraction()) return {};
  std::string id(dialogId);
  if (auto known = titles_.find(id); known != titles_.end()) return known->second;
  Lexer& lex = ctx.lex;
  SearchScope scope(lex);
  bool found = FindFirst(lex, dialogs_, id, [&lex] {
    for (;;) {
      int token = lex.PeekTokenOnLine();
      if (token == 0) return false;
      if (token == TOK_STRING) return true;
      lex.GetToken();
    }
  });
  if (!found) return "dialtitle";
  lex.GetToken();
  std::string title = Cut(Lexer::StripQuotes(lex.TokenText()), kTitleLimit, lex.CodePage());
  titles_.emplace(id, title);
  return title;
}

std::string AnchorIndex::ItemAnchor(Context& ctx, std::string_view dialogId, int itemIndex) {
  if (!ctx.keys.IsKeyExtraction()) return {};
  Lexer& lex = ctx.lex;
  int callerLine = lex.TokenLine();
  auto missing = [&] { ctx.errors.SourceError(kAnchorMissing, std::to_string(itemIndex), {}, callerLine); };
  std::string id(dialogId);
  auto list = lists_.find(id);
  if (list != lists_.end()) {
    if (auto known = list->second.anchors.find(itemIndex); known != list->second.anchors.end()) return known->second;
    if (list->second.complete) missing();
  }
  SearchScope scope(lex);
  if (list == lists_.end()) {
    bool found = FindFirst(lex, helps_, id, [&lex] {
      if (lex.PeekTokenOnLine() != TOK_NAME) return false;
      lex.GetToken();
      return lex.PeekToken() == TOK_LBRACE;
    });
    if (!found) missing();
    lex.GetToken();
    HelpList fresh;
    fresh.pos = lex.ReadPosition();
    fresh.line = lex.TokenLine();
    list = lists_.emplace(id, std::move(fresh)).first;
  }
  HelpList& help = list->second;
  lex.MoveTo(help.pos, help.line);
  for (;;) {
    int token = lex.PeekToken();
    if (token == TOK_RBRACE) {
      help.complete = true;
      missing();
    }
    if (token == TOK_NAME) help.lastIndex = ParseUShort(lex, lex.ExpectTokenOnNewLine(TOK_NAME, kAnchorMissing));
    if (!lex.GetOptionalString()) lex.ExpectToken(TOK_STRING, "String is missing");
    std::string anchor = lex.ExpectTokenOnLine(TOK_NAME, kAnchorMissing);
    help.pos = lex.ReadPosition();
    help.line = lex.TokenLine();
    help.anchors.emplace(help.lastIndex, anchor);
    if (help.lastIndex == itemIndex) return anchor;
  }
}

std::string FindDialogTitle(Context& ctx, std::string_view dialogId) {
  return ctx.anchorIndex.DialogTitle(ctx, dialogId);
}

std::string FindItemAnchor(Context& ctx, std::string_view dialogId, int itemIndex) {
  return ctx.anchorIndex.ItemAnchor(ctx, dialogId, itemIndex);
}

}  // namespace tessel
