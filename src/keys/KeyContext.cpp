#include "keys/KeyContext.h"

#include <array>
#include <cstring>

#include "Common/Errors.h"
#include "Common/OutputSink.h"
#include "frontend/Lexer.h"
#include "platform/Platform.h"

namespace tessel {

namespace {

// Item names of the texts of an alert, by item index from 1.
constexpr std::array<std::string_view, 5> kAlertItemNames = {"LargeText", "SmallText", "Button.1", "Button.2",
                                                             "Button.3"};

std::string_view WithoutQuotes(std::string_view text) {
  if (!text.empty() && text.front() == '"') {
    text.remove_prefix(1);
    if (!text.empty()) text.remove_suffix(1);
  }
  return text;
}

}  // namespace

KeyContext::~KeyContext() { Close(); }

void KeyContext::StartKeyExtraction(const std::string& outputName, const std::string& prefix) {
  on_ = true;
  prefix_ = prefix;
  keyName_ = outputName + ".keys";
  Close();
  platform::RemoveOutput(keyName_);
  // The key file is created before the driver prepares the output path.
  platform::CreateDirectoriesAlong(keyName_);
  if (!keyFile_.OpenFile(keyName_)) {
    errors_.GeneralError("Cannot open output klx (%s) for writing!", keyName_.c_str());
  }
  keyFile_.Append("\xEF\xBB\xBF");
}

bool KeyContext::Close() { return !keyFile_.IsOpen() || keyFile_.Commit(); }

void KeyContext::PushKeyScope(std::string_view name) {
  if (on_) scopes_.push_back(Scope{std::string(name), -1});
}

void KeyContext::PopKeyScope() {
  if (on_ && !scopes_.empty()) scopes_.pop_back();
}

void KeyContext::NextKeyItem() {
  if (scopes_.empty()) return;
  int32_t& index = scopes_.back().index;
  if (index < 0) index = 0;
  ++index;
}

void KeyContext::SetKeyItem(int32_t index) {
  if (!scopes_.empty()) scopes_.back().index = index;
}

int32_t KeyContext::KeyItemIndex() const { return scopes_.empty() ? -1 : scopes_.back().index; }

std::string KeyContext::TitleKeyName(unsigned seenFlags) {
  std::string name = "Title";
  if (seenFlags & 0x1)
    name += ".TP";
  else if (seenFlags & 0x400)
    name += ".NC";
  return name;
}

void KeyContext::BeginKeyString(KeyStringState& state) {
  state.outermost = depth_ == 0;
  if (state.outermost) {
    state.text.clear();
    keyed_ =
        on_ && !(lexer_ && lexer_->PositionSaved()) && !scopes_.empty() && !scopes_.back().name.empty() && !suppressed_;
  }
  ++depth_;
}

void KeyContext::SetKeyStringValue(KeyStringState& state, const char* tokenText) {
  if (keyed_ && tokenText) state.text = WithoutQuotes(tokenText);
}

void KeyContext::EndKeyString(KeyStringState& state) {
  if (depth_ > 0) --depth_;
  if (!state.outermost || !keyed_) return;
  keyed_ = false;
  const std::string key = BuildKey();
  keyFile_.Append("$");
  keyFile_.Append(key);
  keyFile_.Append("\"");
  PutEntry(key, "", state.text);
  if (lexer_) {
    const std::string& comment = lexer_->LineComment();
    if (!comment.empty()) PutEntry(key, ".cmnt", comment);
  }
}

void KeyContext::PutEntry(std::string_view key, std::string_view suffix, std::string_view value) {
  if (!output_) return;
  for (std::string_view piece :
       {std::string_view("\""), key, suffix, std::string_view("\": \""), value, std::string_view("\"\n")}) {
    output_->Append(piece);
  }
}

bool KeyContext::Echoing() const { return on_ && keyFile_.IsOpen() && !keyed_ && !(lexer_ && lexer_->PositionSaved()); }

void KeyContext::Echo(char c) {
  if (Echoing()) keyFile_.Append(&c, 1);
}

void KeyContext::Echo(std::string_view text) {
  if (Echoing()) keyFile_.Append(text);
}

void KeyContext::PushKeyCondition(std::string_view id, bool negated) {
  if (!on_) return;
  Group group;
  group.tokens.push_back(negated ? '-' : '+');
  group.tokens.append(id);
  group.count = 1;
  if (!scopes_.empty()) {
    group.hasIndex = true;
    group.index = scopes_.back().index;
  }
  conditions_.push_back(std::move(group));
}

void KeyContext::AddKeyConditionTerm(bool andFlag, std::string_view id, bool negated) {
  if (!on_ || conditions_.empty()) return;
  Group& group = conditions_.back();
  group.tokens += andFlag ? '&' : '|';
  group.tokens += negated ? '-' : '+';
  group.tokens.append(id);
  group.count += 2;
}

void KeyContext::NegateKeyCondition() {
  if (!on_ || conditions_.empty()) return;
  Group& group = conditions_.back();
  // Directive IDs hold only letters, digits and '_', so every sign and operator is a token of its own.
  for (char& c : group.tokens) {
    switch (c) {
      case '+':
        c = '-';
        break;
      case '-':
        c = '+';
        break;
      case '&':
        c = '|';
        break;
      case '|':
        c = '&';
        break;
      default:
        break;
    }
  }
  if (group.hasIndex && !scopes_.empty()) scopes_.back().index = group.index;
}

void KeyContext::PopKeyCondition() {
  if (on_ && !conditions_.empty()) conditions_.pop_back();
}

std::string KeyContext::BuildKey() {
  if (scopes_.empty()) return {};
  std::string base = prefix_;
  for (const Scope& scope : scopes_) {
    base += '.';
    base += scope.name;
  }
  std::string key = base;
  const std::string& bottom = scopes_.front().name;
  if (bottom == "DLGH" || bottom == "DHLP") {
    // The anchor word follows the help text on its line. Peeking overwrites the token
    // buffer, which still holds the text the handler is about to take.
    if (lexer_) {
      std::string held = lexer_->TokenText();
      lexer_->PeekToken();
      key += '.';
      key += lexer_->TokenText();
      std::memcpy(lexer_->TokenText(), held.c_str(), held.size() + 1);
    }
  } else if (scopes_.back().index >= 0) {
    key += '.';
    key += ItemKeyName(base);
  }
  if (!conditions_.empty()) {
    key += '#';
    for (size_t i = 0; i < conditions_.size(); ++i) {
      if (i > 0) key += '&';
      const Group& group = conditions_[i];
      if (group.count > 1)
        key += '(' + group.tokens + ')';
      else
        key += group.tokens;
    }
  }
  return key;
}

std::string KeyContext::ItemKeyName(const std::string& base) {
  int32_t& index = scopes_.back().index;
  auto sameConditions = [this] {
    if (conditions_.size() != lastConditions_.size()) return false;
    for (size_t i = 0; i < conditions_.size(); ++i) {
      if (conditions_[i].tokens != lastConditions_[i].tokens) return false;
    }
    return true;
  };
  if (haveLast_ && index <= lastIndex_ && base == lastBase_ && sameConditions()) index = lastIndex_ + 1;
  haveLast_ = true;
  lastConditions_ = conditions_;
  lastBase_ = base;
  lastIndex_ = index;
  if (scopes_.front().name == "QALR" && index >= 1 && index <= static_cast<int>(kAlertItemNames.size())) {
    return std::string(kAlertItemNames[index - 1]);
  }
  return std::to_string(index);
}

}  // namespace tessel
