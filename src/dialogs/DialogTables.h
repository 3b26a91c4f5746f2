// Keyword tables of dialogs: the header styles, the item types and the keywords that
// item fields name, each mapped to the DG_ constants copied into the output.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessel::dialog {

// ---- Header styles ----

struct StyleRow {
  std::string_view keyword;
  int32_t value;
  uint32_t flag;    // unique per row
  uint16_t groups;  // 0x40 marks a dialog type; for a type, the groups it allows
};

inline constexpr uint16_t kGroupCaption = 0x01, kGroupMinimize = 0x02, kGroupMaximize = 0x04, kGroupClose = 0x08,
                          kGroupGrow = 0x10, kGroupFrame = 0x20, kGroupType = 0x40;

inline constexpr std::array<StyleRow, 20> kStyleRows = {{
    {"TabPage", 1, 0x1, 0x40},          {"Modal", 4, 0x2, 0x71},         {"Modeless", 8, 0x4, 0x7F},
    {"Palette", 16, 0x8, 0x79},         {"noGrow", 0, 0x10, 0x10},       {"hGrow", 1, 0x20, 0x10},
    {"vGrow", 2, 0x40, 0x10},           {"grow", 3, 0x80, 0x10},         {"topCaption", 0, 0x100, 0x01},
    {"leftCaption", 32, 0x200, 0x01},   {"noCaption", 64, 0x400, 0x01},  {"noClose", 0, 0x800, 0x08},
    {"close", 4, 0x1000, 0x08},         {"noMinimize", 0, 0x2000, 0x02}, {"minimize", 8, 0x4000, 0x02},
    {"noMaximize", 0, 0x8000, 0x04},    {"maximize", 16, 0x10000, 0x04}, {"normalFrame", 0, 0x20000, 0x20},
    {"thickFrame", 128, 0x40000, 0x20}, {"noFrame", 256, 0x80000, 0x20},
}};

// Flag bits of the rows above that the combination checks and the title key name test.
inline constexpr uint32_t kSeenTabPage = 0x1, kSeenModal = 0x2, kSeenModeless = 0x4, kSeenPalette = 0x8,
                          kSeenAnyGrow = 0x20 | 0x40 | 0x80, kSeenTopOrLeftCaption = 0x100 | 0x200, kSeenClose = 0x1000,
                          kSeenMinimize = 0x4000, kSeenMaximize = 0x10000, kSeenNoFrame = 0x80000;

// The style state of a dialog header, fed one keyword at a time.
struct DialogStyle {
  int32_t type = 0;
  uint16_t allowed = 0;
  uint32_t styleFlags = 0;
  uint32_t seen = 0;
  uint16_t used = 0;

  // False when the keyword is unknown, a second type, a repeated group, or a group the
  // type does not allow (or no type yet).
  bool Add(std::string_view keyword);
  // The detail of the first combination check that fails, or nothing.
  std::optional<std::string_view> CombinationError() const;
  bool IsTabPage() const { return (seen & kSeenTabPage) != 0; }
};

// ---- Item types ----

enum class ItemType : uint8_t {
  Button,
  IconButton,
  SplitButton,
  RadioButton,
  IconRadioButton,
  CheckBox,
  IconCheckBox,
  PushRadio,
  IconPushRadio,
  IconMenuRadio,
  PushCheck,
  IconPushCheck,
  IconMenuCheck,
  SingleSpin,
  EditSpin,
  CenterText,
  LeftText,
  RightText,
  PosIntEdit,
  IntEdit,
  RealEdit,
  LengthEdit,
  AreaEdit,
  VolumeEdit,
  AngleEdit,
  PolarAngleEdit,
  MMPointEdit,
  PasswordEdit,
  ShortcutEdit,
  TextEdit,
  MultiLineEdit,
  RichEdit,
  UniRichEdit,
  ScrollBar,
  Slider,
  ProgressBar,
  Picture,
  Icon,
  UserItem,
  GroupBox,
  Separator,
  NormalTab,
  SimpleTab,
  SingleSelList,
  MultiSelList,
  PopupControl,
  DateControl,
  TimeControl,
  UserControl,
  SingleSelTreeView,
  MultiSelTreeView,
  SingleSelListView,
  MultiSelListView,
  Ruler,
  Splitter,
  TabBar,
  Browser,
};

// In the order of ItemType.
inline constexpr std::array<std::string_view, 57> kItemTypeNames = {
    "Button",           "IconButton",
    "SplitButton",      "RadioButton",
    "IconRadioButton",  "CheckBox",
    "IconCheckBox",     "PushRadio",
    "IconPushRadio",    "IconMenuRadio",
    "PushCheck",        "IconPushCheck",
    "IconMenuCheck",    "SingleSpin",
    "EditSpin",         "CenterText",
    "LeftText",         "RightText",
    "PosIntEdit",       "IntEdit",
    "RealEdit",         "LengthEdit",
    "AreaEdit",         "VolumeEdit",
    "AngleEdit",        "PolarAngleEdit",
    "MMPointEdit",      "PasswordEdit",
    "ShortcutEdit",     "TextEdit",
    "MultiLineEdit",    "RichEdit",
    "UniRichEdit",      "ScrollBar",
    "Slider",           "ProgressBar",
    "Picture",          "Icon",
    "UserItem",         "GroupBox",
    "Separator",        "NormalTab",
    "SimpleTab",        "SingleSelList",
    "MultiSelList",     "PopupControl",
    "DateControl",      "TimeControl",
    "UserControl",      "SingleSelTreeView",
    "MultiSelTreeView", "SingleSelListView",
    "MultiSelListView", "Ruler",
    "Splitter",         "TabBar",
    "Browser",
};

std::optional<ItemType> ItemTypeFromName(std::string_view word);

// ---- Single-keyword tables ----

struct KeywordText {
  std::string_view keyword;
  std::string_view text;
};

struct KeywordTable {
  std::span<const KeywordText> rows;
  // The text when no word stands where the keyword may; null: the keyword is required.
  const char* absent;
};

// The text of a keyword, or nothing when the table does not know it.
std::optional<std::string_view> Lookup(const KeywordTable& table, std::string_view word);

inline constexpr KeywordText kFontRows[] = {
    {"ExtraSmall", "DG_IS_EXTRASMALL"},
    {"SmallPlain", "DG_IS_SMALL | DG_IS_PLAIN"},
    {"SmallItalic", "DG_IS_SMALL | DG_IS_ITALIC"},
    {"SmallUnderline", "DG_IS_SMALL | DG_IS_UNDERLINE"},
    {"SmallBold", "DG_IS_SMALL | DG_IS_BOLD"},
    {"SmallShadow", "DG_IS_SMALL | DG_IS_PLAIN"},
    {"SmallOutline", "DG_IS_SMALL | DG_IS_PLAIN"},
    {"LargePlain", "DG_IS_LARGE | DG_IS_PLAIN"},
    {"LargeItalic", "DG_IS_LARGE | DG_IS_ITALIC"},
    {"LargeUnderline", "DG_IS_LARGE | DG_IS_UNDERLINE"},
    {"LargeBold", "DG_IS_LARGE | DG_IS_BOLD"},
    {"LargeShadow", "DG_IS_LARGE | DG_IS_PLAIN"},
    {"LargeOutline", "DG_IS_LARGE | DG_IS_PLAIN"},
};
inline constexpr KeywordText kButtonFrameRows[] = {{"frame", "DG_BF_FRAME"}, {"noFrame", "DG_BF_NOFRAME"}};
inline constexpr KeywordText kBevelRows[] = {{"BevelEdge", "DG_BA_BEVEL"}, {"RoundedBevelEdge", "DG_BA_ROUNDEDBEVEL"}};
inline constexpr KeywordText kAppearanceRows[] = {
    {"Normal", "DG_BA_NORMAL"}, {"BevelEdge", "DG_BA_BEVEL"}, {"RoundedBevelEdge", "DG_BA_ROUNDEDBEVEL"}};
inline constexpr KeywordText kFrameTypeRows[] = {{"Default", "DG_FT_NONE"},
                                                 {"StaticEdge", "DG_FT_STATIC"},
                                                 {"ClientEdge", "DG_FT_CLIENT"},
                                                 {"ModalFrame", "DG_FT_MODAL"}};
inline constexpr KeywordText kProgressFrameRows[] = {
    {"StaticEdge", "DG_FT_STATIC"}, {"ClientEdge", "DG_FT_CLIENT"}, {"ModalFrame", "DG_FT_MODAL"}};
inline constexpr KeywordText kSimpleTabFrameRows[] = {{"frame", "DG_STS_FRAME"}, {"noFrame", "DG_STS_NOFRAME"}};
inline constexpr KeywordText kRulerTypeRows[] = {
    {"editor", "DG_RT_EDITOR"}, {"table", "DG_RT_TABLE"}, {"window", "DG_RT_2DWINDOW"}};
inline constexpr KeywordText kViewModeRows[] = {
    {"bottomText", "DG_LVVM_BOTTOMTEXT"}, {"rightText", "DG_LVVM_RIGHTTEXT"}, {"singleColumn", "DG_LVVM_SINGLECOLUMN"}};
inline constexpr KeywordText kUpdateRows[] = {{"PartialUpdate", "DG_UT_PARTIALUPDATE"}};
inline constexpr KeywordText kMultiLineScrollRows[] = {{"HScroll", "DG_ET_HSCROLL"},
                                                       {"VScroll", "DG_ET_VSCROLL"},
                                                       {"HVScroll", "DG_ET_HSCROLL | DG_ET_VSCROLL"},
                                                       {"NoScroll", "0"}};
inline constexpr KeywordText kRichScrollRows[] = {{"HScroll", " | DG_ET_HSCROLL"},
                                                  {"VScroll", " | DG_ET_VSCROLL"},
                                                  {"HVScroll", " | DG_ET_HSCROLL | DG_ET_VSCROLL"},
                                                  {"NoScroll", ""}};
inline constexpr KeywordText kPartialItemsRows[] = {{"PartialItems", ""},
                                                    {"NoPartialItems", " | DG_LT_NOPARTIALITEMS"}};
inline constexpr KeywordText kListScrollRows[] = {{"NoScroll", " | DG_LT_NOSCROLL"},
                                                  {"HScroll", " | DG_LT_HSCROLL"},
                                                  {"VScroll", " | DG_LT_VSCROLL"},
                                                  {"HVScroll", " | DG_LT_HSCROLL | DG_LT_VSCROLL"}};
inline constexpr KeywordText kLabelEditRows[] = {{"labelEdit", " | DG_TVT_LABELEDIT"}, {"noLabelEdit", ""}};
inline constexpr KeywordText kDragDropRows[] = {{"dragDrop", " | DG_TVT_DRAGDROP"}, {"noDragDrop", ""}};
inline constexpr KeywordText kGroupKindRows[] = {{"Primary", "DG_GT_PRIMARY"}, {"Secondary", "DG_GT_SECONDARY"}};
inline constexpr KeywordText kSliderSideRows[] = {{"BottomRight", "DG_SL_BOTTOMRIGHT"}, {"TopLeft", "DG_SL_TOPLEFT"}};
inline constexpr KeywordText kDateKindRows[] = {{"Standard", "DG_DT_DATE"}, {"Calendar", "DG_DT_CALENDAR"}};
inline constexpr KeywordText kSplitterLookRows[] = {{"Normal", ""}, {"Transparent", " | DG_SPLT_TRANSPARENT"}};
// Options after the fixed fields of list boxes, tree views and list views.
inline constexpr KeywordText kListOptionRows[] = {{"HasHeader", " | DG_LT_HEADER"}, {"HasFrame", " | DG_LT_FRAME"}};
inline constexpr KeywordText kTreeOptionRows[] = {{"HasFrame", " | DG_TVT_FRAME"}, {"noRootButton", ""}};
inline constexpr KeywordText kListViewOptionRows[] = {{"NoScroll", " | DG_LVST_HIDESCROLLBAR"},
                                                      {"HasFrame", " | DG_LVFT_FRAME"}};

inline constexpr KeywordTable kFonts{kFontRows, nullptr};
inline constexpr KeywordTable kButtonFrames{kButtonFrameRows, "DG_BF_FRAME"};
inline constexpr KeywordTable kBevels{kBevelRows, nullptr};
inline constexpr KeywordTable kAppearances{kAppearanceRows, nullptr};
inline constexpr KeywordTable kFrameTypes{kFrameTypeRows, "0"};
inline constexpr KeywordTable kProgressFrames{kProgressFrameRows, "DG_FT_STATIC"};
inline constexpr KeywordTable kSimpleTabFrames{kSimpleTabFrameRows, "DG_STS_FRAME"};
inline constexpr KeywordTable kRulerTypes{kRulerTypeRows, nullptr};
inline constexpr KeywordTable kViewModes{kViewModeRows, nullptr};
inline constexpr KeywordTable kUpdates{kUpdateRows, "DG_UT_NORMALUPDATE"};
inline constexpr KeywordTable kMultiLineScrolls{kMultiLineScrollRows, nullptr};
inline constexpr KeywordTable kRichScrolls{kRichScrollRows, nullptr};
inline constexpr KeywordTable kPartialItems{kPartialItemsRows, nullptr};
inline constexpr KeywordTable kListScrolls{kListScrollRows, ""};
inline constexpr KeywordTable kLabelEdits{kLabelEditRows, nullptr};
inline constexpr KeywordTable kDragDrops{kDragDropRows, nullptr};
inline constexpr KeywordTable kGroupKinds{kGroupKindRows, nullptr};
inline constexpr KeywordTable kSliderSides{kSliderSideRows, "DG_SL_BOTTOMRIGHT"};
inline constexpr KeywordTable kDateKinds{kDateKindRows, "DG_DT_DATE"};
inline constexpr KeywordTable kSplitterLooks{kSplitterLookRows, ""};
inline constexpr KeywordTable kListOptions{kListOptionRows, nullptr};
inline constexpr KeywordTable kTreeOptions{kTreeOptionRows, nullptr};
inline constexpr KeywordTable kListViewOptions{kListViewOptionRows, nullptr};

// ---- Icon references ----

// The value a named icon stands for, or nothing for any other word.
std::optional<uint16_t> NamedIcon(std::string_view word);

// ---- Flag sets ----

struct FlagKeyword {
  std::string_view keyword;
  uint8_t slot;
  const char* text;  // null: accepted, changes nothing
};

struct FlagSetTable {
  std::span<const std::string_view> defaults;  // one per slot, in output order; "" is left out
  std::span<const FlagKeyword> keywords;
};

inline constexpr std::string_view kNumericEditDefaults[] = {"DG_ET_FRAME", "DG_ET_ABSOLUTE", "DG_ET_CHANGEFONT",
                                                            "DG_ET_UPDATE", "DG_ET_EDITABLE"};
inline constexpr FlagKeyword kNumericEditKeywords[] = {
    {"frame", 0, "DG_ET_FRAME"},       {"noFrame", 0, "DG_ET_NOFRAME"},       {"absolute", 1, "DG_ET_ABSOLUTE"},
    {"relative", 1, "DG_ET_RELATIVE"}, {"changeFont", 2, "DG_ET_CHANGEFONT"}, {"noChangeFont", 2, "DG_ET_NOCHANGEFONT"},
    {"update", 3, "DG_ET_UPDATE"},     {"noUpdate", 3, "DG_ET_NOUPDATE"},     {"noDelay", 3, "DG_ET_NODELAY"},
    {"editable", 4, "DG_ET_EDITABLE"}, {"readOnly", 4, "DG_ET_READONLY"},
};
inline constexpr std::string_view kTextEditDefaults[] = {"DG_ET_FRAME", "DG_ET_EDITABLE"};
inline constexpr FlagKeyword kTextEditKeywords[] = {{"noFrame", 0, "DG_ET_NOFRAME"},
                                                    {"frame", 0, nullptr},
                                                    {"readOnly", 1, "DG_ET_READONLY"},
                                                    {"editable", 1, nullptr}};
inline constexpr std::string_view kMultiLineEditDefaults[] = {"DG_ET_FRAME", "DG_ET_EDITABLE", "DG_ET_AUTORESIZE",
                                                              "DG_ET_EOFWRAP"};
inline constexpr FlagKeyword kMultiLineEditKeywords[] = {
    {"noFrame", 0, "DG_ET_NOFRAME"},           {"frame", 0, nullptr},
    {"readOnly", 1, "DG_ET_READONLY"},         {"editable", 1, nullptr},
    {"noAutoResize", 2, "DG_ET_NOAUTORESIZE"}, {"autoResize", 2, nullptr},
    {"wordWrap", 3, "DG_ET_WORDWRAP"},         {"eofWrap", 3, nullptr},
};
inline constexpr std::string_view kStaticTextDefaults[] = {"DG_IS_VTOP", "DG_IS_NOTRUNC"};
inline constexpr FlagKeyword kStaticTextKeywords[] = {
    {"vTop", 0, "DG_IS_VTOP"},       {"vCenter", 0, "DG_IS_VCENTER"},   {"vBottom", 0, "DG_IS_VBOTTOM"},
    {"noTrunc", 1, "DG_IS_NOTRUNC"}, {"truncEnd", 1, "DG_IS_TRUNCEND"}, {"truncMiddle", 1, "DG_IS_TRUNCMIDDLE"},
};
inline constexpr std::string_view kScrollBarDefaults[] = {"DG_SB_NORMAL", "", ""};
inline constexpr FlagKeyword kScrollBarKeywords[] = {
    {"Normal", 0, "DG_SB_NORMAL"}, {"Proportional", 0, "DG_SB_PROPORTIONAL"},
    {"Focusable", 1, ""},          {"NonFocusable", 1, "DG_SB_NONFOCUSABLE"},
    {"AutoScroll", 2, ""},         {"NoAutoScroll", 2, "DG_SB_NOAUTOSCROLL"},
};

inline constexpr FlagSetTable kNumericEditFlags{kNumericEditDefaults, kNumericEditKeywords};
inline constexpr FlagSetTable kTextEditFlags{kTextEditDefaults, kTextEditKeywords};
inline constexpr FlagSetTable kMultiLineEditFlags{kMultiLineEditDefaults, kMultiLineEditKeywords};
inline constexpr FlagSetTable kStaticTextFlags{kStaticTextDefaults, kStaticTextKeywords};
inline constexpr FlagSetTable kScrollBarFlags{kScrollBarDefaults, kScrollBarKeywords};

inline constexpr size_t kMaxFlagSlots = 5;
inline constexpr uint8_t kResizingSlot = 2;  // of the multi-line edit flags
inline constexpr std::string_view kFontFlagKeywords[] = {"changeFont", "noChangeFont"};

// The slots of one flag list while it is read.
class FlagSet {
 public:
  explicit FlagSet(const FlagSetTable& table);
  bool IsKeyword(std::string_view word) const;
  // Sets the keyword's slot; false when the table does not know the word.
  bool Apply(std::string_view word);
  // The non-empty slots in output order, joined by " | ".
  std::string Text() const;
  std::string_view Slot(size_t index) const { return slots_[index]; }

 private:
  const FlagSetTable& table_;
  std::array<std::string_view, kMaxFlagSlots> slots_{};
};

}  // namespace tessel::dialog
