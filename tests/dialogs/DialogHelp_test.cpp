// The searches of the dialog help: a dialog's title and a dialog item's anchor.
#include <gtest/gtest.h>

#include <string>

#include "Common/Settings.h"
#include "TestSupport.h"
#include "dialogs/AnchorIndex.h"
#include "resources/Context.h"

namespace tessel {
namespace {

// A run over an in-memory source, read up to a given token, as a handler would have it.
struct SourceRun {
  testsupport::TempDir dir;
  RunSettings settings;
  ErrorContext errors;
  Lexer lex{errors};
  OutputWriter out{errors};
  KeyContext keys{errors};
  Context ctx{settings, errors, lex, out, keys};

  SourceRun(const std::string& source, bool extraction) {
    if (extraction) {
      keys.StartKeyExtraction(dir.file("app.json"), "App");
      keys.SetLexer(&lex);
      lex.SetKeyContext(&keys);
    }
    lex.SetSource(source);
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

}  // namespace
}  // namespace tessel
