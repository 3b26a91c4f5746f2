// Placeholder: key extraction is not switched on yet; every operation is inert.
#include "keys/KeyContext.h"

#include "Common/Errors.h"

namespace tessel {
KeyContext::~KeyContext() { Close(); }
void KeyContext::StartKeyExtraction(const std::string&, const std::string&) {}
void KeyContext::Close() {
  if (keyFile_) std::fclose(keyFile_);
  keyFile_ = nullptr;
}
void KeyContext::PushKeyScope(std::string_view) {}
void KeyContext::PopKeyScope() {}
void KeyContext::NextKeyItem() {}
void KeyContext::SetKeyItem(uint16_t) {}
int16_t KeyContext::KeyItemIndex() const { return -1; }
std::string KeyContext::TitleKeyName(unsigned seenFlags) {
  std::string name = "Title";
  if (seenFlags & 0x1) name += ".TP";
  else if (seenFlags & 0x400) name += ".NC";
  return name;
}
void KeyContext::BeginKeyString(KeyStringState& state) {
  state.outermost = depth_ == 0;
  ++depth_;
}
void KeyContext::SetKeyStringValue(KeyStringState&, const char*) {}
void KeyContext::EndKeyString(KeyStringState&) { --depth_; }
void KeyContext::Echo(char) {}
void KeyContext::PushKeyCondition(std::string_view, bool) {}
void KeyContext::AddKeyConditionTerm(bool, std::string_view, bool) {}
void KeyContext::NegateKeyCondition() {}
void KeyContext::PopKeyCondition() {}
std::string KeyContext::BuildKey() { return {}; }
std::string KeyContext::ItemKeyName(const std::string&) { return {}; }
}  // namespace tessel
