// Key extraction: the key context (scopes and items), the condition stack fed by the
// directive reader, the string hooks of the lexer, and the key list and keyed source.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Common/OutputSink.h"

namespace tessel {

class ErrorContext;
class Lexer;

// Per-string state kept by the lexer while a string token is read.
struct KeyStringState {
  bool outermost = false;
  std::string text;
};

class KeyContext {
 public:
  explicit KeyContext(ErrorContext& errors) : errors_(errors) {}
  ~KeyContext();

  // Turns extraction on: creates "<output>.keys" (general error when it cannot be created).
  void StartKeyExtraction(const std::string& outputName, const std::string& prefix);
  bool IsKeyExtraction() const { return on_; }
  // The output that receives the key list (set by the run driver once it is open).
  void SetOutput(OutputSink* output) { output_ = output; }
  void SetLexer(Lexer* lexer) { lexer_ = lexer; }
  // Moves the key file into place; false when that failed.
  bool Close();
  const std::string& KeyFileName() const { return keyName_; }

  void PushKeyScope(std::string_view name);
  void PopKeyScope();
  void NextKeyItem();
  void SetKeyItem(int32_t index);
  int32_t KeyItemIndex() const;
  void SuppressKeys() { suppressed_ = true; }
  void ResumeKeys() { suppressed_ = false; }
  static std::string TitleKeyName(unsigned seenFlags);

  // Lexer hooks.
  void BeginKeyString(KeyStringState& state);
  void SetKeyStringValue(KeyStringState& state, const char* tokenText);
  void EndKeyString(KeyStringState& state);
  bool IsKeyedString() const { return keyed_; }
  // Echo of a consumed source character into the keyed source.
  void Echo(char c);
  void Echo(std::string_view text);

  // Directive reader hooks.
  void PushKeyCondition(std::string_view id, bool negated);
  void AddKeyConditionTerm(bool andFlag, std::string_view id, bool negated);
  void NegateKeyCondition();
  void PopKeyCondition();

  std::string BuildKey();

 private:
  bool Echoing() const;
  void PutEntry(std::string_view key, std::string_view suffix, std::string_view value);
  struct Scope {
    std::string name;
    int32_t index = -1;
  };
  struct Group {
    std::string tokens;  // "+ID", "&", "-ID", ...
    int count = 0;       // tokens in the group
    bool hasIndex = false;
    int32_t index = -1;
  };
  std::string ItemKeyName(const std::string& base);

  ErrorContext& errors_;
  Lexer* lexer_ = nullptr;
  bool on_ = false;
  std::string prefix_;
  // The keyed copy, echoed a few characters at a time: collected in blocks. Its write errors
  // show when it is closed.
  OutputSink keyFile_;
  std::string keyName_;
  OutputSink* output_ = nullptr;
  std::vector<Scope> scopes_;
  std::vector<Group> conditions_;
  uint16_t depth_ = 0;
  bool keyed_ = false;
  bool suppressed_ = false;
  std::string lastBase_;
  int32_t lastIndex_ = 0;
  std::vector<Group> lastConditions_;
  bool haveLast_ = false;
};

}  // namespace tessel
