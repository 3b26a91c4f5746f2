#include "dialogs/DialogTables.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

using namespace tessel::dialog;

namespace {

// Feeds the words of a header's style list; returns the first refused word, or "" when all pass.
std::string FirstRefused(DialogStyle& style, const std::string& words) {
  std::istringstream in(words);
  std::string word;
  while (in >> word) {
    if (!style.Add(word)) return word;
  }
  return "";
}

FlagSet Flags(const FlagSetTable& table, std::vector<std::string> words) {
  FlagSet flags(table);
  for (const auto& w : words) EXPECT_TRUE(flags.Apply(w)) << w;
  return flags;
}

}  // namespace

TEST(DialogStyle, GroupRules) {
  struct Case {
    const char* words;
    const char* refused;
  };
  const Case cases[] = {
      {"Modal grow close", "close"},                   // close is not a Modal group
      {"Modeless minimize noMinimize", "noMinimize"},  // group given twice
      {"grow Modal", "grow"},                          // no type yet
      {"Modal Palette", "Palette"},                    // second type
      {"TabPage noCaption", "noCaption"},              // TabPage allows no group
      {"Modal bogus", "bogus"},
      {"modal", "modal"},  // case-sensitive
      {"Palette topCaption close grow thickFrame", ""},
      {"Modeless noFrame noClose noMinimize noMaximize noGrow noCaption", ""},
      {"TabPage", ""},
  };
  for (const auto& c : cases) {
    DialogStyle style;
    EXPECT_EQ(FirstRefused(style, c.words), c.refused) << c.words;
  }
}

TEST(DialogStyle, CombinationChecks) {
  struct Case {
    const char* words;
    const char* detail;  // null: accepted
  };
  const Case cases[] = {
      {"Modal topCaption", " : top/left caption not allowed."},
      {"Modal leftCaption noFrame hGrow", " : top/left caption not allowed."},
      {"Modal noFrame noGrow", nullptr},
      {"Modal noFrame hGrow", " : grow flag without frame."},
      {"Modal thickFrame grow", nullptr},
      {"Modeless noFrame noClose noMinimize noMaximize noGrow noCaption", nullptr},
      {"Modeless noFrame close", " : min/max/grow/close/caption illegal without frame."},
      {"Modeless noFrame maximize", " : min/max/grow/close/caption illegal without frame."},
      {"Modeless thickFrame close minimize", nullptr},
      {"Palette noFrame topCaption", " : min/max/grow/caption/close illegal without frame."},
      {"Palette noFrame noCaption noClose noGrow", nullptr},
  };
  for (const auto& c : cases) {
    DialogStyle style;
    ASSERT_EQ(FirstRefused(style, c.words), "") << c.words;
    auto detail = style.CombinationError();
    if (c.detail)
      EXPECT_EQ(detail.value_or("accepted"), c.detail) << c.words;
    else
      EXPECT_FALSE(detail) << c.words << ": " << *detail;
  }
}

TEST(DialogStyle, TypeAndStyleValues) {
  DialogStyle style;
  ASSERT_EQ(FirstRefused(style, "Modeless grow leftCaption close minimize maximize thickFrame"), "");
  EXPECT_EQ(style.type, 8);
  EXPECT_EQ(style.styleFlags, 191u);

  DialogStyle palette;
  ASSERT_EQ(FirstRefused(palette, "Palette noCaption noFrame"), "");
  EXPECT_EQ(palette.type, 16);
  EXPECT_EQ(palette.styleFlags, 64u + 256u);
  EXPECT_EQ(palette.seen, 0x8u | 0x400u | 0x80000u);

  DialogStyle tab;
  ASSERT_EQ(FirstRefused(tab, "TabPage"), "");
  EXPECT_TRUE(tab.IsTabPage());
  EXPECT_EQ(tab.type, 1);
}

TEST(DialogTables, ItemTypes) {
  std::set<std::string_view> names(kItemTypeNames.begin(), kItemTypeNames.end());
  EXPECT_EQ(names.size(), 57u);
  for (size_t i = 0; i < kItemTypeNames.size(); ++i)
    EXPECT_EQ(ItemTypeFromName(kItemTypeNames[i]), static_cast<ItemType>(i)) << kItemTypeNames[i];
  EXPECT_EQ(ItemTypeFromName("Browser"), ItemType::Browser);
  EXPECT_EQ(ItemTypeFromName("MMPointEdit"), ItemType::MMPointEdit);
  EXPECT_FALSE(ItemTypeFromName("button"));
  EXPECT_FALSE(ItemTypeFromName("Offset"));
  EXPECT_FALSE(ItemTypeFromName(""));
}

TEST(DialogTables, KeywordLookups) {
  EXPECT_EQ(Lookup(kFonts, "SmallShadow"), Lookup(kFonts, "SmallPlain"));
  EXPECT_EQ(Lookup(kFonts, "LargeOutline"), "DG_IS_LARGE | DG_IS_PLAIN");
  EXPECT_EQ(Lookup(kFonts, "ExtraSmall"), "DG_IS_EXTRASMALL");
  EXPECT_FALSE(Lookup(kFonts, "smallPlain"));
  EXPECT_EQ(Lookup(kAppearances, "Normal"), "DG_BA_NORMAL");
  EXPECT_FALSE(Lookup(kBevels, "Normal"));
  EXPECT_FALSE(Lookup(kProgressFrames, "Default"));
  EXPECT_EQ(Lookup(kRulerTypes, "window"), "DG_RT_2DWINDOW");
  EXPECT_EQ(Lookup(kListScrolls, "HVScroll"), " | DG_LT_HSCROLL | DG_LT_VSCROLL");
  EXPECT_EQ(Lookup(kMultiLineScrolls, "NoScroll"), "0");
  EXPECT_EQ(Lookup(kRichScrolls, "NoScroll"), "");
  EXPECT_STREQ(kFrameTypes.absent, "0");
  EXPECT_STREQ(kProgressFrames.absent, "DG_FT_STATIC");
  EXPECT_STREQ(kUpdates.absent, "DG_UT_NORMALUPDATE");
  EXPECT_EQ(kFonts.absent, nullptr);
  EXPECT_EQ(kRulerTypes.absent, nullptr);
}

TEST(DialogTables, NamedIcons) {
  EXPECT_EQ(NamedIcon("NoIcon"), 65535);
  EXPECT_EQ(NamedIcon("ErrorIcon"), 0);
  EXPECT_EQ(NamedIcon("InfoIcon"), 1);
  EXPECT_EQ(NamedIcon("WarningIcon"), 2);
  EXPECT_FALSE(NamedIcon("12"));
}

TEST(DialogFlagSets, Defaults) {
  EXPECT_EQ(FlagSet(kNumericEditFlags).Text(),
            "DG_ET_FRAME | DG_ET_ABSOLUTE | DG_ET_CHANGEFONT | DG_ET_UPDATE | DG_ET_EDITABLE");
  EXPECT_EQ(FlagSet(kTextEditFlags).Text(), "DG_ET_FRAME | DG_ET_EDITABLE");
  EXPECT_EQ(FlagSet(kMultiLineEditFlags).Text(), "DG_ET_FRAME | DG_ET_EDITABLE | DG_ET_AUTORESIZE | DG_ET_EOFWRAP");
  EXPECT_EQ(FlagSet(kStaticTextFlags).Text(), "DG_IS_VTOP | DG_IS_NOTRUNC");
  EXPECT_EQ(FlagSet(kScrollBarFlags).Text(), "DG_SB_NORMAL");
}

TEST(DialogFlagSets, SlotsTakeTheLastKeyword) {
  EXPECT_EQ(Flags(kNumericEditFlags, {"noFrame", "readOnly"}).Text(),
            "DG_ET_NOFRAME | DG_ET_ABSOLUTE | DG_ET_CHANGEFONT | DG_ET_UPDATE | DG_ET_READONLY");
  EXPECT_EQ(Flags(kNumericEditFlags, {"noUpdate", "noDelay", "relative", "noChangeFont"}).Text(),
            "DG_ET_FRAME | DG_ET_RELATIVE | DG_ET_NOCHANGEFONT | DG_ET_NODELAY | DG_ET_EDITABLE");
  EXPECT_EQ(Flags(kNumericEditFlags, {"noFrame", "frame"}).Text(),
            "DG_ET_FRAME | DG_ET_ABSOLUTE | DG_ET_CHANGEFONT | DG_ET_UPDATE | DG_ET_EDITABLE");
  // In the text edit flags `frame` and `editable` change nothing.
  EXPECT_EQ(Flags(kTextEditFlags, {"noFrame", "frame", "readOnly", "editable"}).Text(),
            "DG_ET_NOFRAME | DG_ET_READONLY");
  FlagSet multi = Flags(kMultiLineEditFlags, {"noAutoResize", "autoResize", "wordWrap", "eofWrap"});
  EXPECT_EQ(multi.Text(), "DG_ET_FRAME | DG_ET_EDITABLE | DG_ET_NOAUTORESIZE | DG_ET_WORDWRAP");
  EXPECT_EQ(multi.Slot(kResizingSlot), "DG_ET_NOAUTORESIZE");
  EXPECT_EQ(Flags(kStaticTextFlags, {"truncMiddle", "vBottom", "vCenter"}).Text(), "DG_IS_VCENTER | DG_IS_TRUNCMIDDLE");
}

TEST(DialogFlagSets, ScrollBar) {
  EXPECT_EQ(Flags(kScrollBarFlags, {"NonFocusable", "Proportional"}).Text(), "DG_SB_PROPORTIONAL | DG_SB_NONFOCUSABLE");
  EXPECT_EQ(Flags(kScrollBarFlags, {"NoAutoScroll"}).Text(), "DG_SB_NORMAL | DG_SB_NOAUTOSCROLL");
  EXPECT_EQ(Flags(kScrollBarFlags, {"Proportional", "Normal", "NonFocusable", "Focusable", "NoAutoScroll"}).Text(),
            "DG_SB_NORMAL | DG_SB_NOAUTOSCROLL");
}

TEST(DialogFlagSets, UnknownWordsAreRefused) {
  FlagSet text(kTextEditFlags);
  EXPECT_FALSE(text.IsKeyword("relative"));
  EXPECT_FALSE(text.Apply("relative"));
  EXPECT_FALSE(FlagSet(kStaticTextFlags).Apply("vtop"));
  EXPECT_TRUE(FlagSet(kNumericEditFlags).IsKeyword("noChangeFont"));
}
