// Whole 'QDLG' resources run through the program: the errors of the header and the body, and
// the limits of offset groups, value strings and item counts.
#include <gtest/gtest.h>

#include <string>

#include "ContextFixture.h"

namespace {

using testsupport::CheckSourceError;
using testsupport::ConvertSource;
using testsupport::SourceErrorCase;

// A dialog whose body is `body` (lines from line 2 on), closed on the line after it.
std::string Dialog(const std::string& body) { return "'QDLG' 7 Modal 0 0 100 100 \"T\" {\n" + body + "}\n"; }

TEST(DialogHeader, SourceErrors) {
  const SourceErrorCase cases[] = {
      {"'QDLG'\n7 Modal 0 0 1 1 \"T\" {\n}\n", "Resource ID is missing", 1},
      {"'QDLG' 7\nModal 0 0 1 1 \"T\" {\n}\n", "An item is missing  (ResID: 7)", 1},
      {"'QDLG' 7 Modal |\ngrow 0 0 1 1 \"T\" {\n}\n", "An item is missing  (ResID: 7)", 1},
      {"'QDLG' 7 Modal | grow | close 0 0 1 1 \"T\" {\n}\n", "Illegal combination of stylesclose  (ResID: 7)", 1},
      {"'QDLG' 7 Modeless | minimize | noMinimize 0 0 1 1 \"T\" {\n}\n",
       "Illegal combination of stylesnoMinimize  (ResID: 7)", 1},
      {"'QDLG' 7 grow | Modal 0 0 1 1 \"T\" {\n}\n", "Illegal combination of stylesgrow  (ResID: 7)", 1},
      {"'QDLG' 7 TabPage | noCaption 0 0 1 1 \"T\" {\n}\n", "Illegal combination of stylesnoCaption  (ResID: 7)", 1},
      {"'QDLG' 7 Dialog 0 0 1 1 \"T\" {\n}\n", "Illegal combination of stylesDialog  (ResID: 7)", 1},
      {"'QDLG' 7 Modal | topCaption 0 0 1 1 \"T\" {\n}\n",
       "Illegal combination of styles : top/left caption not allowed.  (ResID: 7)", 1},
      {"'QDLG' 7 Modal | noFrame | hGrow 0 0 1 1 \"T\" {\n}\n",
       "Illegal combination of styles : grow flag without frame.  (ResID: 7)", 1},
      {"'QDLG' 7 Modeless | noFrame | noCaption | close 0 0 1 1 \"T\" {\n}\n",
       "Illegal combination of styles : min/max/grow/close/caption illegal without frame.  (ResID: 7)", 1},
      {"'QDLG' 7 Palette | noFrame | grow 0 0 1 1 \"T\" {\n}\n",
       "Illegal combination of styles : min/max/grow/caption/close illegal without frame.  (ResID: 7)", 1},
      {"'QDLG' 7 TabPage 5 0 1 1 \"T\" {\n}\n", "Upper left corner of TabPage is not (0,0): TabPage  (ResID: 7)", 1},
      {"'QDLG' 7 TabPage 0 1 1 1 \"T\" {\n}\n", "Upper left corner of TabPage is not (0,0): TabPage  (ResID: 7)", 1},
      {"'QDLG' 7 Modal 0 0 1\n1 \"T\" {\n}\n", "An item is missing  (ResID: 7)", 1},
      {"'QDLG' 7 Modal 0 0 1 65536 \"T\" {\n}\n", "Unsigned short value is expected  (ResID: 7)", 1},
      {"'QDLG' 7 Modal 0 0 1 x \"T\" {\n}\n", "Illegal decimal integer value or undefined constant  (ResID: 7)", 1},
      {"'QDLG' 7 Modal 0 0 1 1\n\"T\" {\n}\n", "String is missing  (ResID: 7)", 1},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\"\n\n}\n", "{ is expected  (ResID: 7)", 3},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" { Button\n}\n", "Extra character on line  (ResID: 7)", 1},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSeparator 0 0 1 1 }\n", "Extra character on line  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSeparator 0 0 1 1\n", "Unexpected end of file  (ResID: 7)", 3},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSeparator 0 0 1 1", "Unexpected end of file  (ResID: 7)", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckSourceError(c), "") << c.source;
}

TEST(DialogHeader, LongTitleIsCutBetweenCharacters) {
  // The 256-byte cut falls inside the escape \101: the escape is dropped whole, so the title keeps
  // 253 bytes, counted and written alike (13 + 253 + 2 = 268).
  const auto run = ConvertSource("'QDLG' 7 Modal 0 0 1 1 \"" + std::string(253, 'a') + "\\101bcd\" {\n}\n");
  ASSERT_FALSE(run.failed) << run.report;
  std::string words;
  for (int i = 0; i < 126; ++i) words += (i % 8 == 0 ? "\t" : "") + std::string("0x6161,") + (i % 8 == 7 ? "\r\n" : "");
  EXPECT_NE(
      run.script.find("7 QXDG\r\nBEGIN\r\n\t268, 0,\r\n\t4, 0,\r\n\t0, 0, 1, 1,\r\n" + words + "0x0061,\r\n\t0,\r\n"),
      std::string::npos)
      << run.script;
}

TEST(DialogItems, SourceErrors) {
  const std::string longValue = "\"" + std::string(267, '1') + "\"";  // 269 bytes of source text
  const std::string edit268 =
      Dialog("RealEdit 0 0 1 1 SmallPlain \"" + std::string(266, '1') + "\" " + longValue + "\n");
  const SourceErrorCase cases[] = {
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nButon 0 0 1 1 SmallPlain \"x\"\n}\n", "Can't recognize item Buton  (ResID: 7)",
       2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nTabBar 0 0 1 1 Browser 0 0 1 1\n}\n", "Extra character on line  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\n\"x\"\n}\n", "An item is missing  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nButton 0 0 1\n1 SmallPlain \"x\"\n}\n", "An item is missing  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nButton 0 0 1 1 smallPlain \"x\"\n}\n",
       "Can't recognize item smallPlain  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nButton 0 0 1 1 SmallPlain\n\"x\"\n}\n", "String is missing  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nButton 0 0 1 1 SmallPlain noFrame Bevel \"x\"\n}\n",
       "Can't recognize item Bevel  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nIconButton 0 0 1 1 1 Normal\n}\n", "Can't recognize item Normal  (ResID: 7)",
       2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nPushRadio 0 0 1 1 SmallPlain 1 noFrame \"x\"\n}\n",
       "Can't recognize item noFrame  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nIconCheckBox 0 0 1 1 HelpIcon\n}\n",
       "Illegal decimal integer value or undefined constant  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nIconMenuCheck 0 0 1 1 1 70000\n}\n",
       "Unsigned short value is expected  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nOffset 1 2\nSeparator 0 0 1 1\n}\n", "{ is expected  (ResID: 7)", 3},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nOffset 1 40000 {\n}\n}\n", "Short value is expected  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nOffset 1 2 {\nSeparator 0 0 1 1 }\n}\n", "Extra character on line  (ResID: 7)",
       3},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nOffset 1 2 {\nSeparator 0 0 1 1\n}\n", "Unexpected end of file  (ResID: 7)", 5},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nScrollBar 0 0 1 1 00 1 2\n}\n",
       "Scrollbar page size must be greater than Zero: 00  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nRuler 0 0 1 1 editor 0\n}\n", "Illegal edittext index for Ruler0  (ResID: 7)",
       2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nRuler 0 0 1 1 Editor 1\n}\n", "Can't recognize item Editor  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nUniRichEdit 0 0 1 1 SmallPlain HScroll\n}\n",
       "Illegal combination of UniRichEdit flags  (autoResize - HScroll)  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nNormalTab 0 0 1 1\n\nTabBar 0 0 1 1\n}\n", "An item is missing  (ResID: 7)", 4},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nNormalTab 0 0 1 1\nT1 1\n}\n", "String is missing  (ResID: 7)", 3},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nRealEdit 0 0 1 1 SmallPlain readOnly | noChangeFont \"0\" \"1\"\n}\n",
       "Illegal font flag (this is only for LengthEdit): noChangeFont  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nTextEdit 0 0 1 1 SmallPlain changeFont | bogus 1\n}\n",
       "Illegal font flag (this is only for LengthEdit): changeFont  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nLengthEdit 0 0 1 1 SmallPlain readOnly | bogus \"0\" \"1\"\n}\n",
       "Can't recognize item bogus  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nLeftText 0 0 1 1 SmallPlain vTop |\ntruncEnd \"x\"\n}\n",
       "An item is missing  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nLeftText 0 0 1 1 SmallPlain\nvTop \"x\"\n}\n", "An item is missing  (ResID: 7)",
       2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nLeftText 0 0 1 1 SmallPlain Shadow \"x\"\n}\n",
       "Can't recognize item Shadow  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nMultiLineEdit 0 0 1 1 SmallPlain\n}\n", "An item is missing  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSlider 0 0 1 1 0 1 2 Left\n}\n", "Can't recognize item Left  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSingleSelList 0 0 1 1 SmallPlain PartialItems 5 HasFrame Border\n}\n",
       "Can't recognize item Border  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nMultiSelList 0 0 1 1 SmallPlain PartialItems VScroll HScroll 5\n}\n",
       "Illegal decimal integer value or undefined constant  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSingleSelTreeView 0 0 1 1 SmallPlain 1 2 3 4 labelEdit 5\n}\n",
       "Can't recognize item 5  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nSingleSelListView 0 0 1 1 SmallPlain 1 2 3 4 bottomText HasHeader\n}\n",
       "Can't recognize item HasHeader  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nUserControl 0 0 1 1 1 2 -3\n}\n",
       "Unsigned short value is expected  (ResID: 7)", 2},
      {"'QDLG' 7 Modal 0 0 1 1 \"T\" {\nPopupControl 0 0 1 1 1 2\n3\n}\n", "String is missing  (ResID: 7)", 3},
      {edit268.c_str(), "String is too long  (ResID: 7)", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckSourceError(c), "") << c.source;
}

TEST(DialogItems, AcceptedForms) {
  // noAutoResize makes any scroll legal; a value string of 268 bytes is taken whole.
  const auto run =
      ConvertSource(Dialog("UniRichEdit 0 0 1 1 SmallPlain noAutoResize | autoResize VScroll\n"
                           "RealEdit 0 0 1 1 SmallPlain \"\" \"" +
                           std::string(266, '9') + "\"\n"));
  ASSERT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find("DG_ET_NOAUTORESIZE | DG_ET_EOFWRAP | DG_ET_VSCROLL,"), std::string::npos);
  EXPECT_NE(run.script.find("\"\\0\", \"" + std::string(266, '9') + "\\0\","), std::string::npos);
}

TEST(DialogItems, OffsetGroupsNestThirtyOneDeep) {
  std::string open, close;
  for (int i = 0; i < 31; ++i) {
    open += "Offset 1 -1 {\n";
    close += "}\n";
  }
  const auto run = ConvertSource(Dialog(open + "Separator 0 0 1 1\n" + close));
  ASSERT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find("  1, DG_ITM_SEPARATOR, DG_SP_HORIZONTAL,  31, 65505,   1,   1,\r\n"), std::string::npos)
      << run.script;

  // One more group does not fit: refused at its line, nothing written.
  const std::string deeper = Dialog(open + "Offset 1 1 {\nSeparator 0 0 1 1\n}\n" + close);
  EXPECT_EQ(CheckSourceError({deeper.c_str(), "Internal error  (ResID: 7)", 33}), "");
}

TEST(DialogItems, ItemCountFitsSixteenBits) {
  std::string body;
  for (int i = 0; i < 65535; ++i) body += "TabBar 0 0 1 1\n";
  const auto run = ConvertSource(Dialog(body));
  ASSERT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find("\t65535,\r\n"), std::string::npos);
  EXPECT_NE(run.script.find("\t65535, DG_ITM_TABBAR, 0,"), std::string::npos);

  const std::string more = Dialog(body + "TabBar 0 0 1 1\n");
  EXPECT_EQ(CheckSourceError({more.c_str(), "Internal error  (ResID: 7)", 65537}), "");
}

}  // namespace
