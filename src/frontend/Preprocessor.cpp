#include "frontend/Preprocessor.h"

#include <cstring>

#include "frontend/Lexer.h"
#include "keys/KeyContext.h"

namespace tessel {

namespace {

constexpr size_t kDirectiveIdLimit = 32;

enum class Syntax {
  Expression,  // #if: one or two defined() terms
  Ifdef,
  Ifndef,
  Plain,  // the rest of the line is ignored
};

struct DirectiveKeyword {
  std::string_view word;  // matched as a prefix of the text after '#'
  int kind;
  Syntax syntax;
  bool blankAfter;  // the word must be followed by a space or tab
};

// Searched in order: "if" must come after "ifdef" and "ifndef".
constexpr DirectiveKeyword kDirectives[] = {
    {"ifdef", DIR_IF, Syntax::Ifdef, false},        {"ifndef", DIR_IFNDEF, Syntax::Ifndef, false},
    {"if", DIR_IF, Syntax::Expression, true},       {"else", DIR_ELSE, Syntax::Plain, false},
    {"endif", DIR_ENDIF, Syntax::Plain, false},     {"include", DIR_ORDINARY, Syntax::Plain, false},
    {"define", DIR_ORDINARY, Syntax::Plain, false}, {"pragma", DIR_PRAGMA, Syntax::Plain, false},
    {"line", DIR_LINE, Syntax::Plain, false},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\0' || c == '\r' || c == '\n'; }
bool IsIdChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; }
bool StartsWith(const char* p, std::string_view word) {
  for (size_t i = 0; i < word.size(); ++i) {
    if (p[i] != word[i]) return false;  // stops at the terminating zero, which no word holds
  }
  return true;
}
const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}
std::string_view ReadId(const char*& p) {
  const char* begin = p;
  while (IsIdChar(*p)) ++p;
  return std::string_view(begin, static_cast<size_t>(p - begin));
}

}  // namespace

void Preprocessor::StoreDirectiveIDs(const std::vector<std::string>& ids) {
  ids_.clear();
  for (const std::string& id : ids) {
    if (id.size() > kDirectiveIdLimit) errors_.ErrorExit("Directive ID is too long!");
    ids_.insert(id);
  }
}

bool Preprocessor::IsDefined(std::string_view id) const { return keysPass_ || ids_.find(id) != ids_.end(); }

bool Preprocessor::HooksActive() const {
  return keys_ && keys_->IsKeyExtraction() && !(lexer_ && lexer_->PositionSaved());
}

void Preprocessor::Fail(const char* message, int line) { errors_.SourceError(message, {}, {}, line); }

std::string_view Preprocessor::ReadIfdefID(const char* p, int line) {
  if (IsLineEnd(*p)) Fail("Directive ID is missing", line);
  if (!IsBlank(*p)) Fail("Illegal directive keyword", line);
  p = SkipBlanks(p);
  if (IsLineEnd(*p)) Fail("Directive ID is missing", line);
  if (!IsIdChar(*p)) Fail("Illegal directive ID", line);
  return ReadId(p);
}

bool Preprocessor::ReadTerm(const char*& p, int line, std::string_view& id, bool& negated) {
  p = SkipBlanks(p);
  negated = *p == '!';
  if (negated) ++p;
  if (!StartsWith(p, "defined")) Fail("defined or !defined keyword is missing", line);
  p = SkipBlanks(p + 7);
  if (*p != '(') Fail("( is missing", line);
  p = SkipBlanks(p + 1);
  if (IsLineEnd(*p)) Fail("Directive ID is missing", line);
  if (!IsIdChar(*p)) Fail("Illegal directive ID", line);
  id = ReadId(p);
  p = SkipBlanks(p);
  if (*p != ')') Fail(") is missing", line);
  ++p;
  return IsDefined(id) != negated;
}

bool Preprocessor::ReadExpression(const char* p, int line) {
  std::string_view id;
  bool negated = false;
  const bool first = ReadTerm(p, line, id, negated);
  if (HooksActive()) keys_->PushKeyCondition(id, negated);
  p = SkipBlanks(p);
  if (IsLineEnd(*p)) return first;
  bool both;
  if (p[0] == '&' && p[1] == '&') {
    both = true;
  } else if (p[0] == '|' && p[1] == '|') {
    both = false;
  } else {
    Fail("Invalid bool expression or extra characters on line", line);
  }
  p += 2;
  const bool second = ReadTerm(p, line, id, negated);
  if (HooksActive()) keys_->AddKeyConditionTerm(both, id, negated);
  // Whatever follows the second term is not read.
  return both ? first && second : first || second;
}

// Examines the line at p; returns its kind and sets the condition of a conditional.
int Preprocessor::Recognise(const char* p, int line) {
  p = SkipBlanks(p);
  if (*p != '#') return DIR_ORDINARY;
  ++p;
  for (const DirectiveKeyword& d : kDirectives) {
    if (!StartsWith(p, d.word) || (d.blankAfter && !IsBlank(p[d.word.size()]))) continue;
    const char* rest = p + d.word.size();
    switch (d.syntax) {
      case Syntax::Expression:
        condition_ = ReadExpression(rest, line);
        break;
      case Syntax::Ifdef:
      case Syntax::Ifndef: {
        const bool negated = d.syntax == Syntax::Ifndef;
        const std::string_view id = ReadIfdefID(rest, line);
        condition_ = IsDefined(id) != negated;
        if (HooksActive()) keys_->PushKeyCondition(id, negated);
        break;
      }
      case Syntax::Plain:
        if (HooksActive() && d.kind == DIR_ELSE) keys_->NegateKeyCondition();
        if (HooksActive() && d.kind == DIR_ENDIF) keys_->PopKeyCondition();
        break;
    }
    return d.kind;
  }
  Fail("Illegal directive keyword", line);
}

int Preprocessor::ReadDirectiveLine(const char* lineText, int line) { return Recognise(lineText, line); }

void Preprocessor::Run(char* text) {
  struct Conditional {
    bool enclosingActive;
    bool condition;
    bool inElse;
    int line;  // of the opening directive
  };
  std::vector<Conditional> open;
  bool active = true;
  int line = 1;
  char* p = text;
  while (*p) {
    const int kind = Recognise(p, line);
    char* end = p + std::strcspn(p, "\r\n");  // or the zero byte at the end
    if (kind != DIR_ORDINARY || !active) {
      for (char* q = p; q < end; ++q) *q = ' ';
    }
    switch (kind) {
      case DIR_IF:
      case DIR_IFNDEF:
        open.push_back({active, condition_, false, line});
        active = active && condition_;
        break;
      case DIR_ELSE:
        if (open.empty()) Fail("Unmatching directive", line);
        if (open.back().inElse) Fail("Incorectly nested or unmatched #else", line);
        open.back().inElse = true;
        active = open.back().enclosingActive && !open.back().condition;
        break;
      case DIR_ENDIF:
        if (open.empty()) Fail("Unmatching directive", line);
        active = open.back().enclosingActive;
        open.pop_back();
        break;
      default:
        break;
    }
    p = end;
    if (*p == '\r') {
      ++p;
      if (*p == '\n') ++p;
      ++line;
    } else if (*p == '\n') {
      ++p;
      ++line;
    }
  }
  if (!open.empty()) Fail("Unmatching #ifdef / #ifndef is encountered", open.back().line);
}

}  // namespace tessel
