// Conditional directives: selects lines by the -d IDs, in place, keeping every line at its place.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Errors.h"

namespace tessel {

class KeyContext;
class Lexer;

enum DirectiveKind : int {
  DIR_ORDINARY = -1,
  DIR_END = 0,
  DIR_LINES = 1,
  DIR_IF = 2,  // #if or #ifdef
  DIR_IFNDEF = 3,
  DIR_ELSE = 4,
  DIR_ENDIF = 5,
  DIR_PRAGMA = 6,
  DIR_LINE = 7,
};

class Preprocessor {
 public:
  explicit Preprocessor(ErrorContext& errors) : errors_(errors) {}

  // Stores the -d IDs; an ID longer than 32 characters ends the run.
  void StoreDirectiveIDs(const std::vector<std::string>& ids);
  // With the keys pass on, every directive ID counts as defined.
  void SetKeysPass(bool on) { keysPass_ = on; }
  bool IsDefined(std::string_view id) const;
  // Key-extraction condition hooks (called only when no lexer position is saved).
  void SetKeyHooks(KeyContext* keys, Lexer* lexer) {
    keys_ = keys;
    lexer_ = lexer;
  }

  // Preprocesses the zero-terminated text in place.
  void Run(char* text);
  // Examines one directive line handed over by the lexer during key extraction;
  // errors are reported at `line`. Returns its kind.
  int ReadDirectiveLine(const char* lineText, int line);

 private:
  int Recognise(const char* p, int line);
  bool ReadTerm(const char*& p, int line, std::string_view& id, bool& negated);
  bool ReadExpression(const char* p, int line);
  std::string_view ReadIfdefID(const char* p, int line);
  bool HooksActive() const;
  [[noreturn]] void Fail(const char* message, int line);

  ErrorContext& errors_;
  std::set<std::string, std::less<>> ids_;
  bool keysPass_ = false;
  KeyContext* keys_ = nullptr;
  Lexer* lexer_ = nullptr;
  bool condition_ = false;  // truth value of the last conditional directive read
};

}  // namespace tessel
