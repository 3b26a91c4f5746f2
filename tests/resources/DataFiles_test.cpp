#include "resources/DataFiles.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "resources/Context.h"

using namespace tessel;

namespace {

// A context whose output goes to a file in a temporary directory.
struct Fixture {
  testsupport::TempDir dir;
  RunSettings settings;
  ErrorContext errors;
  Lexer lex{errors};
  OutputWriter out{errors};
  KeyContext keys{errors};
  Context ctx{settings, errors, lex, out, keys};

  Fixture() { out.SetOutput(std::fopen(dir.file("a.rc").c_str(), "wb"), dir.file("a.rc")); }
  std::string Written() {
    out.CloseOutput();
    return dir.read("a.rc");
  }
};

std::string Repeat(std::string_view text, size_t count) {
  std::string result;
  for (size_t i = 0; i < count; ++i) result += text;
  return result;
}

}  // namespace

TEST(FolderTable, NothingWithoutEntries) {
  Fixture f;
  EXPECT_EQ(WriteFolderTable(f.ctx), 0);
  EXPECT_EQ(f.Written(), "");
}

TEST(FolderTable, EntriesInSourceOrder) {
  Fixture f;
  f.ctx.folders.entries.push_back({"128", "\"Docs\"", u"Docs", 0});
  f.ctx.folders.entries.push_back({"(BASE+1)", "\"a*/b \xC3\xA9\"", u"a*/b é", 0});
  EXPECT_EQ(WriteFolderTable(f.ctx), 2);
  std::string expected = "128 FLDR\r\n{\r\n1054L,\r\n2,\r\n";
  expected += "\r\n\t/* \"Docs\" */\r\n\t0x0044,0x006F,0x0063,0x0073,\r\n\t" + Repeat("0,", 257) + "\r\n\t0,\r\n\t128,\r\n";
  expected += "\r\n\t/* \"a* /b \xC3\xA9\" */\r\n\t0x0061,0x002A,0x002F,0x0062,0x0020,0x00E9,\r\n\t" + Repeat("0,", 255) +
              "\r\n\t0,\r\n\t(BASE+1),\r\n";
  expected += "}\r\n\r\n";
  EXPECT_EQ(f.Written(), expected);
}

TEST(FolderTable, EmptyFolderNameIsAllPadding) {
  Fixture f;
  f.ctx.folders.entries.push_back({"7", "\"\"", u"", 0});
  WriteFolderTable(f.ctx);
  EXPECT_EQ(f.Written(), "128 FLDR\r\n{\r\n528L,\r\n1,\r\n\r\n\t/* \"\" */\r\n\t\r\n\t" + Repeat("0,", 261) +
                             "\r\n\t0,\r\n\t7,\r\n}\r\n\r\n");
}
