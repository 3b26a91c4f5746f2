// The searches of the dialog help: a dialog's title and a dialog item's anchor.
#include "dialogs/DialogHelp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ContextFixture.h"
#include "dialogs/AnchorIndex.h"
#include "resources/Context.h"
#include "resources/ResourceTypes.h"

namespace tessel {
namespace {

// A run over an in-memory source, read up to a given token, as a handler would have it.
struct SourceRun : testsupport::ContextFixture {
  SourceRun(const std::string& source, bool extraction) {
    if (extraction) {
      keys.StartKeyExtraction(dir.file("app.json"), "App");
      keys.SetLexer(&lex);
      lex.SetKeyContext(&keys);
    }
    lex.SetSource(source);
    out.Sink(OutputTarget::kAnchorList).Discard();  // as in key extraction: no anchor list
  }
  // Converts the help resource the source begins with; returns what was written.
  std::string Convert() {
    const ResourceType& type = ResourceTypeOf(lex.GetToken());
    type.handler(ctx, type);
    return Script();
  }
  // Reads tokens up to and including the first one with this text.
  void ReadUpTo(const std::string& text) {
    while (lex.GetToken() != TOK_END) {
      if (text == lex.TokenText()) return;
    }
    FAIL() << text << " not found";
  }
  // The report of the fatal error raised by `action`.
  template <class Action>
  std::string ErrorOf(Action action) {
    try {
      action();
    } catch (const FatalError& error) {
      return error.report;
    }
    return "no error";
  }
};

const char* const kSource =
    "// The layout of 'QDLG' 1000 is below, see 'DLGH' 1000 Help too\n"  // 1: no title, no brace
    "'QDLG' 2000 Modal 0 0 10 10 \"Other\"\n"                            // 2
    "{\n"
    "}\n"
    "'DLGH' 1000 FindDialog\n"  // 5
    "{\n"
    "\"Unnumbered first entry\" First\n"
    "3 \"Three\" Three\n"
    "3 \"Three again\" ThreeAgain\n"
    "5 \"Five\" \\\n"
    "  \"joined\" Five\n"
    "\"Still five\" FiveAgain\n"
    "x \"Bad index\" Bad\n"  // 13
    "}\n"
    "'QDLG' 1000 Modal 0 0 10 10 \"Find\"\n"  // 15
    "{\n"
    "Button 1 2 3 4 LargePlain \"OK\"\n"  // 17
    "}\n"
    "'QDLG' 1000 Modal 0 0 10 10 \"Second Find\"\n";

TEST(FindDialogTitle, FirstDialogWithTheIdThatHasATitle) {
  SourceRun run(kSource, false);
  run.ReadUpTo("FindDialog");
  EXPECT_EQ(FindDialogTitle(run.ctx, "1000"), "Find");
  EXPECT_EQ(FindDialogTitle(run.ctx, "2000"), "Other");
  EXPECT_EQ(FindDialogTitle(run.ctx, "1000"), "Find");
  EXPECT_EQ(FindDialogTitle(run.ctx, "3000"), "dialtitle");
  EXPECT_EQ(FindDialogTitle(run.ctx, "3000"), "dialtitle");
  // The lexer goes on where it stood, with the token text it had.
  EXPECT_STREQ(run.lex.TokenText(), "FindDialog");
  EXPECT_EQ(run.lex.GetToken(), TOK_LBRACE);
  EXPECT_EQ(run.lex.TokenLine(), 6);
}

TEST(FindDialogTitle, LongTitleIsCutAndExtractionSearchesNothing) {
  std::string source = "'QDLG' 7 Modal 0 0 1 1 \"" + std::string(300, 'T') + "\"\n";
  SourceRun run(source, false);
  EXPECT_EQ(FindDialogTitle(run.ctx, "7"), std::string(271, 'T'));
  SourceRun extraction(source, true);
  EXPECT_EQ(FindDialogTitle(extraction.ctx, "7"), "");
}

TEST(FindItemAnchor, EntriesOfTheFirstQualifyingHelpList) {
  SourceRun run(kSource, true);
  run.ReadUpTo("\"OK\"");
  run.errors.SetResourceID("1000");
  EXPECT_EQ(FindItemAnchor(run.ctx, "1000", 1), "First");
  EXPECT_EQ(FindItemAnchor(run.ctx, "1000", 3), "Three");
  EXPECT_EQ(FindItemAnchor(run.ctx, "1000", 5), "Five");
  EXPECT_EQ(FindItemAnchor(run.ctx, "1000", 1), "First");
  EXPECT_EQ(run.lex.GetToken(), TOK_RBRACE);
  EXPECT_EQ(run.lex.TokenLine(), 18);
}

TEST(FindItemAnchor, MissingAnchorsAndBadEntries) {
  SourceRun run(kSource, true);
  run.ReadUpTo("\"OK\"");
  run.errors.SetResourceID("1000");
  const std::string missing = " (17) : Resource Anchor is missing for item with index: ";
  // Entries are read only as far as needed: the bad index after entry 5 is not seen for it.
  EXPECT_EQ(FindItemAnchor(run.ctx, "1000", 5), "Five");
  EXPECT_NE(run.ErrorOf([&] { FindItemAnchor(run.ctx, "1000", 6); })
                .find(" (13) : Illegal decimal integer value or undefined constant  (ResID: 1000)"),
            std::string::npos);
  EXPECT_NE(run.ErrorOf([&] { FindItemAnchor(run.ctx, "2000", 1); }).find(missing + "1  (ResID: 1000)"),
            std::string::npos);

  SourceRun complete("'DLGH' 1 A {\n2 \"x\" B\n}\n'QDLG' 1 Modal 0 0 1 1 \"t\" {\n", true);
  complete.ReadUpTo("\"t\"");
  EXPECT_EQ(FindItemAnchor(complete.ctx, "1", 2), "B");
  for (int twice = 0; twice < 2; ++twice) {
    EXPECT_NE(complete.ErrorOf([&] { FindItemAnchor(complete.ctx, "1", 3); })
                  .find(" (4) : Resource Anchor is missing for item with index: 3"),
              std::string::npos);
  }
}

TEST(FindItemAnchor, OutsideExtractionNothingIsSearched) {
  SourceRun run(kSource, false);
  EXPECT_EQ(FindItemAnchor(run.ctx, "1000", 1), "");
  EXPECT_EQ(FindItemAnchor(run.ctx, "4711", 1), "");
}

TEST(ConvertDialogHelp, WithoutAnAnchorListOnlyTheResourceIsWritten) {
  SourceRun run("'DHLP' 9 {\n}\n", false);
  EXPECT_EQ(run.Convert(), "9 DHLP\r\nBEGIN\r\n\t2, 0,\r\n\t0,\r\nEND\r\n\r\n");
  SourceRun list("'DLGH' 9 Anchor {\n\"\" A\n}\n", false);
  EXPECT_EQ(list.Convert(),
            "9 DLGH\r\nBEGIN\r\n\t14, 0,\r\n\t\"Anchor\\0\",\r\n\t1,\r\n"
            "\t1,\r\n\t\t\"\\x00\",\r\n\t\t0x0041,\r\nEND\r\n\r\n");
}

// A whole conversion in memory: the help entries reach the anchor list, each resource the
// resource list, and the script holds the help texts as data.
TEST(ConvertDialogHelp, AnchorsAndResourcesAreListed) {
  const testsupport::Conversion run = testsupport::ConvertSource(
      "'DHLP' 2001\n{\n\"How to search.\" SearchHowTo\n\"Escapes: \\t\" Escapes\n}\n"
      "'STR ' 5 \"s\" {\n\"x\"\n}\n");
  ASSERT_FALSE(run.failed) << run.report;
  EXPECT_EQ(run.anchorList,
            "SearchHowTo\t2001\t1\tDHLP\t\"How to search.\"\r\n"
            "Escapes\t2001\t2\tDHLP\t\"Escapes: \\t\"\r\n");
  EXPECT_EQ(run.resourceList, "'DHLP' 2001\r\n'STR ' 5\r\n");
  EXPECT_EQ(run.script.rfind("#include \"DGDefs.h\"\r\n", 0), 0u);
  EXPECT_NE(run.script.find("2001 DHLP\r\nBEGIN\r\n"), std::string::npos) << run.script;
}

TEST(ConvertDialogHelp, Errors) {
  const std::string text271 = "\"" + std::string(269, 'a') + "\"";
  const std::string text1023 = "\"" + std::string(1021, 'a') + "\"";
  struct Case {
    std::string source;
    std::string report;  // the end of the report: " (line) : message..."
  };
  const Case cases[] = {
      {"'DLGH'\n1 A {\n", " (1) : Resource ID is missing\n\n"},
      {"'DLGH' 1\nA {\n", " (1) : Resource Anchor is missing for item with index:   (ResID: 1)\n\n"},
      {"'DLGH' 1 A\n}\n", " (2) : { is expected  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 \"a\" X\n3 \"b\" Y\n3 \"b\" Y\n2 \"c\" Z\n}\n",
       " (5) : Current index is less then previous one  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n70000 \"a\" X\n}\n", " (2) : Unsigned short value is expected  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 \"a\"\nB\n}\n", " (2) : Resource Anchor is missing for item with index:   (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 B\n}\n", " (2) : String is missing  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 \"a\" B 2 \"b\" C\n}\n", " (2) : Extra character on line  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 \"a\" B }\n", " (2) : Extra character on line  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 \"a\" B\n", " (3) : String is missing  (ResID: 1)\n\n"},
      {"'DLGH' 1 A {\n1 \"a" + std::string(1021, 'a') + "\" B\n}\n", " (2) : String is too long  (ResID: 1)\n\n"},
      {"'DLGH' 1 (" + std::string(1022, 'a') + ") {\n}\n", " (1) : String is too long  (ResID: 1)\n\n"},
      {"'DHLP' 1 { \"a\" B\n}\n", " (1) : Extra character on line  (ResID: 1)\n\n"},
      {"'DHLP' 1 {\n\"a\" B \"b\" C\n}\n", " (2) : Extra character on line  (ResID: 1)\n\n"},
      {"'DHLP' 1 {\n\"a" + std::string(269, 'a') + "\" B\n}\n", " (2) : String is too long  (ResID: 1)\n\n"},
  };
  for (const Case& c : cases) {
    SourceRun run(c.source, false);
    std::string report = run.ErrorOf([&] { run.Convert(); });
    ASSERT_GE(report.size(), c.report.size()) << c.source;
    EXPECT_EQ(report.substr(report.size() - c.report.size()), c.report) << c.source;
  }
  // The longest texts that fit.
  SourceRun list("'DLGH' 1 (" + std::string(1021, 'a') + ") {\n1 " + text1023 + " B\n}\n", false);
  EXPECT_NE(list.Convert(), "");
  SourceRun texts("'DHLP' 1 {\n" + text271 + " B\n}\n", false);
  EXPECT_NE(texts.Convert(), "");
}

}  // namespace
}  // namespace tessel
