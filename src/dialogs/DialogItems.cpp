#include "dialogs/DialogItems.h"

#include <array>
#include <cstdarg>
#include <string>
#include <vector>

#include "Common/Format.h"
#include "dialogs/AnchorIndex.h"
#include "dialogs/DialogFields.h"
#include "dialogs/DialogTables.h"
#include "frontend/Values.h"
#include "resources/Context.h"

namespace tessel::dialog {

namespace {

struct KindText {
  ItemType type;
  std::string_view text;
};

constexpr KindText kStaticTextAlignments[] = {
    {ItemType::CenterText, "DG_IS_CENTER"}, {ItemType::LeftText, "DG_IS_LEFT"}, {ItemType::RightText, "DG_IS_RIGHT"}};
constexpr KindText kNumericEditKinds[] = {
    {ItemType::PosIntEdit, "DG_ET_POSINT"},    {ItemType::IntEdit, "DG_ET_INT"},
    {ItemType::RealEdit, "DG_ET_REAL"},        {ItemType::LengthEdit, "DG_ET_LENGTH"},
    {ItemType::AreaEdit, "DG_ET_AREA"},        {ItemType::VolumeEdit, "DG_ET_VOLUME"},
    {ItemType::AngleEdit, "DG_ET_ANGLE"},      {ItemType::PolarAngleEdit, "DG_ET_POLARANGLE"},
    {ItemType::MMPointEdit, "DG_ET_MM_OR_PT"},
};
constexpr KindText kNumberEditKinds[] = {{ItemType::PasswordEdit, "DG_ET_PASSWORD"},
                                         {ItemType::ShortcutEdit, "DG_ET_SHORTCUT"},
                                         {ItemType::TextEdit, "DG_ET_TEXT"}};
// The kind fields of the item lines whose kinds are fixed.
constexpr KindText kItemKinds[] = {
    {ItemType::Button, "DG_ITM_BUTTON, DG_BT_ICONTEXT, "},
    {ItemType::IconButton, "DG_ITM_BUTTON, DG_BT_ICON, "},
    {ItemType::SplitButton, "DG_ITM_BUTTON, DG_BT_SPLIT, "},
    {ItemType::RadioButton, "DG_ITM_RADIOBUTTON, DG_BT_TEXT, "},
    {ItemType::IconRadioButton, "DG_ITM_RADIOBUTTON, DG_BT_ICON, "},
    {ItemType::PushRadio, "DG_ITM_RADIOBUTTON, DG_BT_PUSHTEXT, "},
    {ItemType::IconPushRadio, "DG_ITM_RADIOBUTTON, DG_BT_PUSHICON, "},
    {ItemType::IconMenuRadio, "DG_ITM_RADIOBUTTON, DG_BT_PUSHMENUICON, "},
    {ItemType::CheckBox, "DG_ITM_CHECKBOX, DG_BT_TEXT, "},
    {ItemType::IconCheckBox, "DG_ITM_CHECKBOX, DG_BT_ICON, "},
    {ItemType::PushCheck, "DG_ITM_CHECKBOX, DG_BT_PUSHTEXT, "},
    {ItemType::IconPushCheck, "DG_ITM_CHECKBOX, DG_BT_PUSHICON, "},
    {ItemType::IconMenuCheck, "DG_ITM_CHECKBOX, DG_BT_PUSHMENUICON, "},
    {ItemType::SingleSpin, "DG_ITM_SPINCONTROL, DG_ST_SINGLESPIN, "},
    {ItemType::EditSpin, "DG_ITM_SPINCONTROL, DG_ST_EDITSPIN, "},
    {ItemType::ProgressBar, "DG_ITM_PROGRESSBAR, 0, "},
    {ItemType::Picture, "DG_ITM_PICTITEM, 0, "},
    {ItemType::Icon, "DG_ITM_ICONITEM, 0, "},
    {ItemType::TabBar, "DG_ITM_TABBAR, 0, "},
    {ItemType::Browser, "DG_ITM_BROWSER, 0, "},
    {ItemType::UserControl, "DG_ITM_USERCONTROL, 0, "},
    {ItemType::NormalTab, "DG_ITM_TABCONTROL, DG_TT_NORMALTAB, "},
    {ItemType::SimpleTab, "DG_ITM_TABCONTROL, DG_TT_SIMPLETAB, "},
    {ItemType::PopupControl, "DG_ITM_POPUPCONTROL, 0, "},
};
// The selection kinds of lists, tree views and list views.
constexpr KindText kSelectKinds[] = {
    {ItemType::SingleSelList, "DG_LT_SINGLESELECT"},      {ItemType::MultiSelList, "DG_LT_MULTISELECT"},
    {ItemType::SingleSelTreeView, "DG_TVT_SINGLESELECT"}, {ItemType::MultiSelTreeView, "DG_TVT_MULTISELECT"},
    {ItemType::SingleSelListView, "DG_LVT_SINGLESELECT"}, {ItemType::MultiSelListView, "DG_LVT_MULTISELECT"},
};

std::string_view KindOf(std::span<const KindText> table, ItemType type) {
  for (const auto& row : table) {
    if (row.type == type) return row.text;
  }
  return {};
}

constexpr size_t kTabNameLimit = 256;
constexpr size_t kEditValueLimit = 268;  // bytes of source text of a numeric edit value string
constexpr unsigned kCountLimit = 65535;  // counts are 16-bit data fields

struct Box {
  uint16_t x, y, w, h;
};

struct Offset {
  uint16_t dx = 0, dy = 0;
};

struct TabEntry {
  std::string name;
  uint16_t icon;
  std::string text;
};

class BodyReader {
 public:
  BodyReader(Context& ctx, std::string_view dialogId, bool writing)
      : ctx_(ctx), lex_(ctx.lex), f_(ctx), dialogId_(dialogId), writing_(writing) {}

  BodyTotals Read() {
    for (;;) {
      int code = lex_.PeekToken();
      if (code == TOK_RBRACE) {
        if (depth_ == 0) break;
        lex_.ExpectTokenOnNewLine(TOK_RBRACE, "} is expected");
        --depth_;
        continue;
      }
      if (code == TOK_END) {
        lex_.GetToken();
        ctx_.Fail("Unexpected end of file");
      }
      Offset group;
      if (ReadOffsetGroup(group)) {
        offsets_[depth_ + 1] = {static_cast<uint16_t>(offsets_[depth_].dx + group.dx),
                                static_cast<uint16_t>(offsets_[depth_].dy + group.dy)};
        ++depth_;
        continue;
      }
      ReadItemLine();
    }
    return totals_;
  }

 private:
  // The group opener "Offset dx dy {" when the next word is Offset.
  bool ReadOffsetGroup(Offset& group) {
    auto word = f_.PeekWord();
    if (!word || *word != "Offset") return false;
    lex_.GetToken();
    if (depth_ >= kMaxOffsetGroups) ctx_.Fail("Internal error");
    group.dx = static_cast<uint16_t>(ParseShort(lex_, f_.Word().c_str()));
    group.dy = static_cast<uint16_t>(ParseShort(lex_, f_.Word().c_str()));
    lex_.ExpectToken(TOK_LBRACE, "{ is expected");
    lex_.CheckLineEnd();
    return true;
  }

  void ReadItemLine() {
    std::string word = lex_.ExpectTokenOnNewLine(TOK_NAME, "An item is missing");
    auto type = ItemTypeFromName(word);
    if (!type) f_.Unrecognized(word);
    if (totals_.items == kCountLimit) ctx_.Fail("Internal error");
    box_.x = static_cast<uint16_t>(f_.Number() + offsets_[depth_].dx);
    box_.y = static_cast<uint16_t>(f_.Number() + offsets_[depth_].dy);
    box_.w = f_.Number();
    box_.h = f_.Number();
    const bool keyed = writing_ && ctx_.keys.IsKeyExtraction();
    if (keyed) {
      ctx_.keys.NextKeyItem();
      ctx_.keys.PushKeyScope(ItemAnchor(ctx_.keys.KeyItemIndex()));
    }
    totals_.size += ReadItem(*type);
    ++totals_.items;
    if (keyed) ctx_.keys.PopKeyScope();
  }

  // The key scope name of an item during key extraction: its anchor in the dialog's help list.
  std::string ItemAnchor(int index) { return FindItemAnchor(ctx_, dialogId_, index); }

  long ReadItem(ItemType type) {
    switch (type) {
      case ItemType::Button:
      case ItemType::PushCheck: {
        auto font = f_.Font();
        auto frame = f_.FrameOption(type == ItemType::Button ? kAppearances : kBevels);
        std::string text = f_.Text();
        if (Writes()) ItemLine(type, ", %s, %s,", Z(font), Z(frame));
        return DataString(text) + 17;
      }
      case ItemType::IconButton:
      case ItemType::IconPushCheck: {
        uint16_t icon = f_.ReadIconReference();
        auto frame = f_.FrameOption(kBevels);
        if (Writes()) ItemLine(type, ", %s, %u,", Z(frame), icon);
        return 18;
      }
      case ItemType::SplitButton: {
        auto font = f_.Font();
        std::string word = f_.Word();
        uint16_t icon = Lookup(kAppearances, word) ? f_.ReadIconReference() : f_.IconValue(word);
        std::string text = f_.Text();
        if (Writes()) ItemLine(type, ", %s, %u,", Z(font), icon);
        return DataString(text) + 17;
      }
      case ItemType::RadioButton:
      case ItemType::PushRadio: {
        auto font = f_.Font();
        uint16_t group = f_.Number();
        if (type == ItemType::PushRadio) f_.OptionalKeyword(kBevels);
        std::string text = f_.Text();
        if (Writes()) ItemLine(type, ", %u, %s,", group, Z(font));
        return DataString(text) + 17;
      }
      case ItemType::IconRadioButton:
      case ItemType::IconPushRadio: {
        uint16_t group = f_.Number();
        uint16_t icon = f_.ReadIconReference();
        if (type == ItemType::IconPushRadio) f_.OptionalKeyword(kBevels);
        if (Writes()) ItemLine(type, ", %u, %u,", group, icon);
        return 18;
      }
      case ItemType::IconMenuRadio: {
        uint16_t group = f_.Number();
        auto icons = IconList();
        f_.OptionalKeyword(kBevels);
        if (Writes()) ItemLine(type, ", %u, %zu,", group, icons.size());
        WriteList(icons, " %s,");
        return 18 + 2 * static_cast<long>(icons.size());
      }
      case ItemType::CheckBox: {
        auto font = f_.Font();
        std::string text = f_.Text();
        if (Writes()) ItemLine(type, ", %s,", Z(font));
        return DataString(text) + 15;
      }
      case ItemType::IconCheckBox: {
        uint16_t icon = f_.ReadIconReference();
        if (Writes()) ItemLine(type, ", %u,", icon);
        return 16;
      }
      case ItemType::IconMenuCheck: {
        auto icons = IconList();
        f_.OptionalKeyword(kBevels);
        if (Writes()) ItemLine(type, ", %zu,", icons.size());
        WriteList(icons, " %s,");
        return 16 + 2 * static_cast<long>(icons.size());
      }
      case ItemType::SingleSpin: {
        uint16_t first = f_.Number();
        uint16_t second = f_.Number();
        if (Writes()) ItemLine(type, ", %u, %u,", first, second);
        return 18;
      }
      case ItemType::EditSpin: {
        uint16_t value = f_.Number();
        if (Writes()) ItemLine(type, ", %u,", value);
        return 16;
      }
      case ItemType::CenterText:
      case ItemType::LeftText:
      case ItemType::RightText:
        return StaticText(type);
      case ItemType::PasswordEdit:
      case ItemType::ShortcutEdit:
      case ItemType::TextEdit: {
        auto font = f_.Font();
        std::string flags = f_.ReadFlags(kNumericEditFlags, false).Text();
        uint16_t value = f_.Number();
        if (Writes())
          ItemLine(FormatText("DG_ITM_EDITTEXT, %s | %s, ", Z(KindOf(kNumberEditKinds, type)), flags.c_str()),
                   ", %s, %u,", Z(font), value);
        return 18;
      }
      case ItemType::MultiLineEdit: {
        auto font = f_.Font();
        std::string flags = f_.ReadFlags(kNumericEditFlags, false).Text();
        auto scroll = f_.Keyword(kMultiLineScrolls);
        if (Writes())
          ItemLine(FormatText("DG_ITM_EDITTEXT, DG_ET_MULTILINETEXT | %s | %s, ", flags.c_str(), Z(scroll)), ", %s,",
                   Z(font));
        return 16;
      }
      case ItemType::RichEdit: {
        auto font = f_.Font();
        std::string flags = f_.ReadFlags(kTextEditFlags).Text();
        flags += f_.Keyword(kRichScrolls);
        if (Writes())
          ItemLine(FormatText("DG_ITM_EDITTEXT, DG_ET_RICHEDITTEXT | %s, ", flags.c_str()), ", %s,", Z(font));
        return 16;
      }
      case ItemType::UniRichEdit:
        return UniRichEdit();
      case ItemType::ScrollBar: {
        std::string pageWord = f_.Word();
        uint16_t page = ParseUShort(lex_, pageWord.c_str());
        if (page == 0) ctx_.Fail("Scrollbar page size must be greater than Zero: ", pageWord);
        uint16_t second = f_.Number();
        uint16_t third = f_.Number();
        std::string flags = f_.ReadFlags(kScrollBarFlags).Text();
        if (Writes())
          ItemLine(FormatText("DG_ITM_SCROLLBAR, %s, ", flags.c_str()), ", %u, %u, %u,", page, second, third);
        return 20;
      }
      case ItemType::Slider: {
        uint16_t n[3] = {f_.Number(), f_.Number(), f_.Number()};
        auto side = f_.OptionalKeyword(kSliderSides);
        if (Writes()) ItemLine(FormatText("DG_ITM_SLIDER, %s,  ", Z(side)), ", %u, %u, %u,", n[0], n[1], n[2]);
        return 20;
      }
      case ItemType::ProgressBar: {
        uint16_t n[2] = {f_.Number(), f_.Number()};
        auto frame = f_.OptionalKeyword(kProgressFrames);
        if (Writes()) ItemLine(type, ", %s, %u, %u,", Z(frame), n[0], n[1]);
        return 20;
      }
      case ItemType::Ruler: {
        std::string typeWord = f_.Word();
        auto ruler = Lookup(kRulerTypes, typeWord);
        if (!ruler) f_.Unrecognized(typeWord);
        uint16_t index = 0;
        if (typeWord != "window") {
          std::string indexWord = f_.Word();
          index = ParseUShort(lex_, indexWord.c_str());
          if (index == 0) ctx_.Fail("Illegal edittext index for Ruler", indexWord);
        }
        std::string kind = std::string(*ruler) + (box_.w < box_.h ? " | DG_RT_VERTICAL" : "");
        if (Writes()) ItemLine(FormatText("DG_ITM_RULER, %s, ", kind.c_str()), ", %u,", index);
        return 16;
      }
      case ItemType::Picture:
      case ItemType::Icon: {
        uint16_t icon = f_.ReadIconReference();
        auto frame = f_.OptionalKeyword(kFrameTypes);
        if (Writes()) ItemLine(type, ", %s, %u,", Z(frame), icon);
        return 18;
      }
      case ItemType::UserItem: {
        std::string_view update = kUpdates.absent;
        if (f_.PeekWordOnLine() == "PartialUpdate") update = f_.Keyword(kUpdates);
        auto frame = f_.OptionalKeyword(kFrameTypes);
        if (Writes()) ItemLine(FormatText("DG_ITM_USERITEM, %s, ", Z(update)), ", %s,", Z(frame));
        return 16;
      }
      case ItemType::GroupBox: {
        auto font = f_.Font();
        auto kind = f_.Keyword(kGroupKinds);
        std::string text = f_.Text();
        if (Writes()) ItemLine(FormatText("DG_ITM_GROUPBOX, %s, ", Z(kind)), ", %s,", Z(font));
        return DataString(text) + 15;
      }
      case ItemType::Separator: {
        const char* kind = box_.w > 3 && box_.h > 3 ? "DG_SP_RECT"
                           : box_.h > box_.w        ? "DG_SP_VERTICAL"
                                                    : "DG_SP_HORIZONTAL";
        if (Writes()) ItemLine(FormatText("DG_ITM_SEPARATOR, %s, ", kind), ",");
        return 14;
      }
      case ItemType::Splitter: {
        auto look = f_.OptionalKeyword(kSplitterLooks);
        const char* kind = box_.w <= box_.h ? "DG_SPLT_VERTICAL" : "DG_SPLT_HORIZONTAL";
        if (Writes()) ItemLine(FormatText("DG_ITM_SPLITTER, %s%s, ", kind, Z(look)), ",");
        return 14;
      }
      case ItemType::DateControl:
      case ItemType::TimeControl: {
        std::string_view kind = type == ItemType::TimeControl ? "DG_DT_TIME" : f_.OptionalKeyword(kDateKinds);
        if (Writes()) ItemLine(FormatText("DG_ITM_DATETIME, %s, ", Z(kind)), ",");
        return 14;
      }
      case ItemType::TabBar:
      case ItemType::Browser:
        if (Writes()) ItemLine(type, "%s", OpenEnd());
        return 14;
      case ItemType::UserControl:
        return UserControl();
      case ItemType::NormalTab:
        return NormalTab();
      case ItemType::SimpleTab:
        return SimpleTab();
      case ItemType::SingleSelList:
      case ItemType::MultiSelList:
        return ListBox(type);
      case ItemType::PopupControl:
        return PopupControl();
      case ItemType::SingleSelTreeView:
      case ItemType::MultiSelTreeView:
        return TreeView(type);
      case ItemType::SingleSelListView:
      case ItemType::MultiSelListView:
        return ListView(type);
      default:
        return NumericEdit(type);
    }
  }

  long StaticText(ItemType type) {
    auto font = f_.Font();
    std::string flags = f_.ReadFlags(kStaticTextFlags).Text();
    auto frame = f_.OptionalKeyword(kFrameTypes);
    const char* joined = lex_.GetOptionalString();
    if (!joined) ctx_.Fail("String is missing");
    std::string text = joined;
    if (Writes())
      ItemLine(FormatText("DG_ITM_STATICTEXT, %s | %s, ", Z(KindOf(kStaticTextAlignments, type)), flags.c_str()),
               ", %s, %s,", Z(frame), Z(font));
    return DataString(text) + 17;
  }

  long NumericEdit(ItemType type) {
    auto font = f_.Font();
    std::string flags = f_.ReadFlags(kNumericEditFlags, type == ItemType::LengthEdit).Text();
    ctx_.keys.SuppressKeys();
    std::string values[2] = {EditValue(), EditValue()};
    ctx_.keys.ResumeKeys();
    long size = 14 + StringByteCount(lex_, values[0].c_str()) + StringByteCount(lex_, values[1].c_str());
    for (auto& value : values) {
      value.pop_back();
      value += "\\0\",";
    }
    if (Writes())
      ItemLine(FormatText("DG_ITM_EDITTEXT, %s | %s, ", Z(KindOf(kNumericEditKinds, type)), flags.c_str()),
               ", %s, %s %s", Z(font), values[0].c_str(), values[1].c_str());
    return size;
  }

  std::string EditValue() {
    std::string value = f_.Text();
    if (value.size() > kEditValueLimit) ctx_.Fail("String is too long");
    return value;
  }

  long UniRichEdit() {
    auto font = f_.Font();
    FlagSet flagSet = f_.ReadFlags(kMultiLineEditFlags);
    std::string scrollWord = f_.Word();
    auto scroll = Lookup(kRichScrolls, scrollWord);
    if (!scroll) f_.Unrecognized(scrollWord);
    const char* resizing = flagSet.Slot(kResizingSlot) == "DG_ET_AUTORESIZE" ? "autoResize" : "noAutoResize";
    if (std::string_view(resizing) == "autoResize" && scrollWord != "NoScroll")
      ctx_.Fail("Illegal combination of UniRichEdit flags", FormatText("  (%s - %s)", resizing, scrollWord.c_str()));
    std::string flags = flagSet.Text() + std::string(*scroll);
    if (Writes()) ItemLine(FormatText("DG_ITM_EDITTEXT, DG_ET_UNIRICHEDIT | %s, ", flags.c_str()), ", %s,", Z(font));
    return 16;
  }

  long UserControl() {
    uint16_t first = f_.Number();
    std::vector<std::string> values;
    while (auto word = f_.PeekWord()) {
      if (!IsNumber(word->c_str())) break;
      lex_.GetToken();
      values.push_back(std::to_string(ParseShortValue(lex_, word->c_str())));
      CheckCount(values.size());
    }
    auto frame = f_.FrameOption(kBevels);
    if (Writes()) ItemLine(ItemType::UserControl, ", %u, %s, %zu,", first, Z(frame), values.size());
    WriteList(values, " %s,");
    return 20 + 2 * static_cast<long>(values.size());
  }

  long NormalTab() {
    std::vector<TabEntry> entries;
    long size = 16;
    while (IsTabEntryNext()) {
      if (writing_) ctx_.keys.NextKeyItem();
      TabEntry entry;
      entry.name = lex_.ExpectTokenOnNewLine(TOK_NAME, "An item is missing");
      if (entry.name.size() > kTabNameLimit) entry.name.resize(kTabNameLimit);
      entry.icon = f_.ReadIconReference();
      entry.text = f_.Text();
      size += StringByteCount(lex_, entry.text.c_str()) + 3;
      entries.push_back(std::move(entry));
      CheckCount(entries.size());
    }
    if (entries.empty() && !ctx_.keys.IsKeyExtraction()) {
      lex_.GetToken();
      ctx_.Fail("An item is missing");
    }
    if (Writes()) ItemLine(ItemType::NormalTab, ", %zu,", entries.size());
    for (const auto& entry : entries) {
      if (Writes()) PrintLine("\t\t\t%s, %3u,", entry.name.c_str(), entry.icon);
      if (writing_) ctx_.out.WriteDataString(lex_, entry.text.c_str(), 6);
    }
    return size;
  }

  long SimpleTab() {
    auto frame = f_.OptionalKeyword(kSimpleTabFrames);
    std::vector<std::string> entries;
    while (IsTabEntryNext()) {
      entries.push_back(lex_.ExpectTokenOnNewLine(TOK_NAME, "An item is missing"));
      CheckCount(entries.size());
    }
    if (Writes()) ItemLine(ItemType::SimpleTab, ", %s, %zu,", Z(frame), entries.size());
    if (Writes()) {
      for (const auto& entry : entries) PrintLine("\t\t\t%s,", entry.c_str());
    }
    return 18 + 2 * static_cast<long>(entries.size());
  }

  // A tab entry starts with a word that neither starts an item nor opens an offset group.
  bool IsTabEntryNext() {
    auto word = f_.PeekWord();
    return word && !ItemTypeFromName(*word) && *word != "Offset";
  }

  long ListBox(ItemType type) {
    auto font = f_.Font();
    std::string kind(KindOf(kSelectKinds, type));
    kind += f_.Keyword(kPartialItems);
    std::string word = f_.Word();
    if (auto scroll = Lookup(kListScrolls, word)) {
      kind += *scroll;
      word = f_.Word();
    }
    uint16_t number = ParseUShort(lex_, word.c_str());
    uint16_t header = 0;
    while (f_.WordFollowsOnLine()) {
      std::string option = f_.Word();
      auto text = Lookup(kListOptions, option);
      if (!text) f_.Unrecognized(option);
      if (option == "HasHeader") header = f_.Number();
      kind += *text;
    }
    if (Writes())
      ItemLine(FormatText("DG_ITM_LISTBOX, %s, ", kind.c_str()), ", %s, %u, %u%s", Z(font), number, header, OpenEnd());
    return 20;
  }

  long PopupControl() {
    uint16_t n[2] = {f_.Number(), f_.Number()};
    std::vector<TabEntry> entries;
    long size = 20;
    for (;;) {
      auto word = f_.PeekWord();
      if (!word || !IsDecimal(IconText(*word).c_str())) break;
      if (writing_) ctx_.keys.NextKeyItem();
      TabEntry entry;
      entry.icon = f_.IconValue(lex_.ExpectTokenOnNewLine(TOK_NAME, "An item is missing"));
      entry.text = f_.Text();
      size += StringByteCount(lex_, entry.text.c_str()) + 1;
      entries.push_back(std::move(entry));
      CheckCount(entries.size());
    }
    if (Writes()) ItemLine(ItemType::PopupControl, ", %u, %u, %zu,", n[0], n[1], entries.size());
    for (const auto& entry : entries) {
      if (Writes()) {
        if (entry.text == "\"-\"") {
          PrintLine("\t\tDG_NO_ICON,");
        } else {
          PrintLine("\t\t%10u,", entry.icon);
        }
      }
      if (writing_) ctx_.out.WriteDataString(lex_, entry.text.c_str(), 4);
    }
    return size;
  }

  long TreeView(ItemType type) {
    auto font = f_.Font();
    uint16_t n[5] = {f_.Number(), f_.Number(), f_.Number(), f_.Number(), 0};
    std::string flags(f_.Keyword(kLabelEdits));
    flags += f_.Keyword(kDragDrops);
    n[4] = f_.Number();
    bool rootButton = true;
    while (f_.WordFollowsOnLine()) {
      std::string option = f_.Word();
      auto text = Lookup(kTreeOptions, option);
      if (!text) f_.Unrecognized(option);
      if (option == "noRootButton") rootButton = false;
      flags += *text;
    }
    if (rootButton) flags += " | DG_TVT_ROOTBUTTON";
    if (Writes())
      ItemLine(FormatText("DG_ITM_TREEVIEW, %s%s, ", Z(KindOf(kSelectKinds, type)), flags.c_str()), ", %s,", Z(font));
    if (Writes()) PrintLine("\t\t%u, %u, %u, %u, %u,", n[0], n[1], n[2], n[3], n[4]);
    return 26;
  }

  long ListView(ItemType type) {
    auto font = f_.Font();
    uint16_t n[4] = {f_.Number(), f_.Number(), f_.Number(), f_.Number()};
    std::string mode(f_.Keyword(kViewModes));
    while (f_.WordFollowsOnLine()) mode += f_.Keyword(kListViewOptions);
    if (Writes())
      ItemLine(FormatText("DG_ITM_LISTVIEW, %s, ", Z(KindOf(kSelectKinds, type))), ", %s, %s%s", Z(font), mode.c_str(),
               OpenEnd());
    if (Writes()) PrintLine("\t\t%u, %u, %u, %u,", n[0], n[1], n[2], n[3]);
    return 26;
  }

  // Icon references, on this and later lines, as long as each stands for a decimal number.
  std::vector<std::string> IconList() {
    std::vector<std::string> icons;
    while (auto word = f_.PeekWord()) {
      std::string text = IconText(*word);
      if (!IsDecimal(text.c_str())) break;
      lex_.GetToken();
      ParseUShort(lex_, text.c_str());
      icons.push_back(std::move(text));
      CheckCount(icons.size());
    }
    return icons;
  }

  void CheckCount(size_t count) {
    if (count > kCountLimit) ctx_.Fail("Internal error");
  }

  // An item line: the head "\t%3u, <kinds><x>, <y>, <w>, <h>", the rest as printf makes it from
  // `format`, the line end. Formatted straight into the script.
  __attribute__((format(printf, 3, 4))) void ItemLine(ItemType type, const char* format, ...) {
    va_list args;
    va_start(args, format);
    ItemLineV(KindOf(kItemKinds, type), format, args);
    va_end(args);
  }
  __attribute__((format(printf, 3, 4))) void ItemLine(std::string_view kinds, const char* format, ...) {
    va_list args;
    va_start(args, format);
    ItemLineV(kinds, format, args);
    va_end(args);
  }
  void ItemLineV(std::string_view kinds, const char* format, va_list args) {
    OutputWriter& out = ctx_.out;
    // The head is on every item line: formatted here, each number as "%3u" makes it.
    char number[32];
    number[0] = '\t';
    char* end = PutDecimal(number + 1, totals_.items + 1u, 3);
    *end++ = ',';
    *end++ = ' ';
    out.WriteString(std::string_view(number, static_cast<size_t>(end - number)));
    out.WriteString(kinds);
    char box[128];
    end = box;
    for (uint16_t value : {box_.x, box_.y, box_.w, box_.h}) {
      if (end != box) {
        *end++ = ',';
        *end++ = ' ';
      }
      end = PutDecimal(end, value, 3);
    }
    out.WriteString(std::string_view(box, static_cast<size_t>(end - box)));
    out.PrintfV(format, args);
    out.WriteNewLine();
  }
  // A line as printf makes it, and the line end.
  __attribute__((format(printf, 2, 3))) void PrintLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ctx_.out.PrintfV(format, args);
    va_end(args);
    ctx_.out.WriteNewLine();
  }

  // The end of the item lines written without a closing comma: GNU windres needs the comma
  // before the values that follow.
  const char* OpenEnd() const { return ctx_.settings.windres ? "," : ""; }

  // Item lines are formatted only when they reach the script: not in the checking reading, not
  // while output is suspended, not in key extraction.
  bool Writes() const { return writing_ && ctx_.out.OutputEnabled() && !ctx_.keys.IsKeyExtraction(); }

  // One line of list values (or an empty line when there are none).
  void WriteList(const std::vector<std::string>& values, const char* format) {
    if (!Writes()) return;
    if (!values.empty()) ctx_.out.WriteString("\t\t\t");
    for (const auto& value : values) ctx_.out.WriteString(FormatText(format, value.c_str()));
    ctx_.out.WriteNewLine();
  }

  // Writes the item text as data words; returns its byte count.
  long DataString(const std::string& text) {
    long count = StringByteCount(lex_, text.c_str());
    if (writing_) ctx_.out.WriteDataString(lex_, text.c_str(), 3);
    return count;
  }

  // A table text as a C string for the formats (table texts are literals).
  static const char* Z(std::string_view text) { return text.data(); }

  Context& ctx_;
  Lexer& lex_;
  FieldReader f_;
  std::string_view dialogId_;
  bool writing_;
  std::array<Offset, kMaxOffsetGroups + 1> offsets_{};
  int depth_ = 0;
  Box box_{};
  BodyTotals totals_;
};

}  // namespace

BodyTotals ReadDialogBody(Context& ctx, std::string_view dialogId, bool writing) {
  return BodyReader(ctx, dialogId, writing).Read();
}

}  // namespace tessel::dialog
