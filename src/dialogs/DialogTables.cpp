#include "dialogs/DialogTables.h"

namespace tessel::dialog {

namespace {

struct CombinationCheck {
  uint32_t type;   // the dialog type the check applies to
  uint32_t needs;  // further flags that must all be seen
  uint32_t anyOf;  // flags of which one seen makes the combination illegal
  std::string_view detail;
};

constexpr uint32_t kWithoutFrame = kSeenAnyGrow | kSeenTopOrLeftCaption | kSeenClose | kSeenMinimize | kSeenMaximize;

constexpr CombinationCheck kCombinationChecks[] = {
    {kSeenModal, 0, kSeenTopOrLeftCaption, " : top/left caption not allowed."},
    {kSeenModal, kSeenNoFrame, kSeenAnyGrow, " : grow flag without frame."},
    {kSeenModeless, kSeenNoFrame, kWithoutFrame, " : min/max/grow/close/caption illegal without frame."},
    {kSeenPalette, kSeenNoFrame, kWithoutFrame, " : min/max/grow/caption/close illegal without frame."},
};

struct NamedIconRow {
  std::string_view name;
  uint16_t value;
};
constexpr NamedIconRow kNamedIcons[] = {{"NoIcon", 65535}, {"ErrorIcon", 0}, {"InfoIcon", 1}, {"WarningIcon", 2}};

}  // namespace

bool DialogStyle::Add(std::string_view keyword) {
  const StyleRow* row = nullptr;
  for (const auto& r : kStyleRows) {
    if (r.keyword == keyword) {
      row = &r;
      break;
    }
  }
  if (!row) return false;
  if (row->groups & kGroupType) {
    if (allowed != 0) return false;
    type = row->value;
    allowed = row->groups;
  } else {
    if ((used & row->groups) || !(allowed & row->groups)) return false;
    styleFlags |= static_cast<uint32_t>(row->value);
    used |= row->groups;
  }
  seen |= row->flag;
  return true;
}

std::optional<std::string_view> DialogStyle::CombinationError() const {
  for (const auto& check : kCombinationChecks) {
    if ((seen & check.type) && (seen & check.needs) == check.needs && (seen & check.anyOf)) return check.detail;
  }
  return std::nullopt;
}

std::optional<ItemType> ItemTypeFromName(std::string_view word) {
  for (size_t i = 0; i < kItemTypeNames.size(); ++i) {
    if (kItemTypeNames[i] == word) return static_cast<ItemType>(i);
  }
  return std::nullopt;
}

std::optional<std::string_view> Lookup(const KeywordTable& table, std::string_view word) {
  for (const auto& row : table.rows) {
    if (row.keyword == word) return row.text;
  }
  return std::nullopt;
}

std::optional<uint16_t> NamedIcon(std::string_view word) {
  for (const auto& icon : kNamedIcons) {
    if (icon.name == word) return icon.value;
  }
  return std::nullopt;
}

FlagSet::FlagSet(const FlagSetTable& table) : table_(table) {
  for (size_t i = 0; i < table.defaults.size() && i < kMaxFlagSlots; ++i) slots_[i] = table.defaults[i];
}

bool FlagSet::IsKeyword(std::string_view word) const {
  for (const auto& k : table_.keywords) {
    if (k.keyword == word) return true;
  }
  return false;
}

bool FlagSet::Apply(std::string_view word) {
  for (const auto& k : table_.keywords) {
    if (k.keyword != word) continue;
    if (k.text) slots_[k.slot] = k.text;
    return true;
  }
  return false;
}

std::string FlagSet::Text() const {
  std::string text;
  for (size_t i = 0; i < table_.defaults.size(); ++i) {
    if (slots_[i].empty()) continue;
    if (!text.empty()) text += " | ";
    text += slots_[i];
  }
  return text;
}

}  // namespace tessel::dialog
