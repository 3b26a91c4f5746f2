#include "resources/DataFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "ContextFixture.h"
#include "TestSupport.h"

using namespace tessel;

namespace {

// A context whose output is kept in memory.
struct Fixture : testsupport::ContextFixture {
  std::string Written() { return Script(); }
};

std::string Repeat(std::string_view text, size_t count) {
  std::string result;
  for (size_t i = 0; i < count; ++i) result += text;
  return result;
}

struct RunResult {
  int exitCode = -1;
  std::string out, err;
  bool scriptLeft = false;
};

// Converts a.klx to a.rc in the directory with the given further arguments.
RunResult RunTessel(const testsupport::TempDir& dir, const std::string& args) {
  std::string command = "cd '" + dir.path() + "' && '" TESSEL_BINARY "' -i a.klx -o a.rc -t w " + args +
                        " > stdout 2> stderr < /dev/null";
  int status = std::system(command.c_str());
  RunResult run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = dir.read("stdout");
  run.err = dir.read("stderr");
  run.scriptLeft = dir.exists("a.rc");
  return run;
}

struct ErrorCase {
  std::string source;
  std::vector<std::pair<std::string, std::string>> files;
  std::string paths;  // -p; none when empty
  std::string message;
  int line;
};

RunResult RunCase(const std::string& source, const std::vector<std::pair<std::string, std::string>>& files,
                  const std::string& args) {
  testsupport::TempDir dir;
  dir.write("a.klx", source);
  for (const auto& [name, content] : files) dir.write(name, content);
  return RunTessel(dir, args);
}

}  // namespace

TEST(DataFiles, SourceErrors) {
  const std::string longFolder(259, 'f');
  const ErrorCase cases[] = {
      // 'DATA', 'JSON' and 'JSSC' look only through the path list, which is empty here.
      {"'DATA' 1 \"d\" {\n\"a.bin\"\n}\n", {{"a.bin", "x"}}, "", "Can't open file: a.bin  (ResID: 1)", 2},
      {"'JSSC' 1 \"d\" {\n\"a.bin\"\n}\n", {{"b/a.bin", "x"}}, "a", "Can't open file: a.bin  (ResID: 1)", 2},
      {"'TEXT' 2 \"t\" {\n\"none.txt\"\n}\n",
       {{"files/other.txt", "x"}},
       "files",
       "Can't open file: files\\none.txt  (ResID: 2)",
       2},
      // 'TEXT' tries the first path only, not the name alone.
      {"'TEXT' 2 \"t\" {\n\"a.txt\"\n}\n", {{"a.txt", "x"}}, "files", "Can't open file: files\\a.txt  (ResID: 2)", 2},
      {"'FILE' 3 \"f\" {\n\"none.bin\"\n}\n", {{"x/none.txt", "x"}}, "x;y", "Can't open file: none.bin  (ResID: 3)", 2},
      {"'FILE' 3 \"f\" {\n\"sub\"\n}\n", {{"sub/x", "x"}}, "", "Can't open file: sub  (ResID: 3)", 2},
      {"'FILE' 3\n\"f\" {\n\"a\"\n}\n", {}, "", "String is missing  (ResID: 3)", 1},
      {"'DATA'\n4 \"d\" {\n\"a\"\n}\n", {}, "", "Resource ID is missing", 1},
      {"'JSON' 4 \"j\"\n\"a.json\"\n}\n", {}, "", "{ is expected  (ResID: 4)", 2},
      {"'JSSC' 5 \"j\" { \"a.js\"\n}\n", {}, "", "Extra character on line  (ResID: 5)", 1},
      {"'TEXT' 6 \"t\" {\n}\n", {}, "", "String is missing  (ResID: 6)", 2},
      {"'TEXT' 6 \"t\" {\n\"a.txt\"\n\"b.txt\"\n}\n", {{"a.txt", "x"}}, "", "} is expected  (ResID: 6)", 3},
      {"'FILE' 7 \"" + longFolder + "\" {\n\"a.bin\"\n}\n", {{"a.bin", "x"}}, "", "String is too long  (ResID: 7)", 1},
      {"'FILE' 8 \"ok\xC3(\" {\n\"a.bin\"\n}\n", {{"a.bin", "x"}}, "", "Illegal String  (ResID: 8)", 1},
  };
  for (const ErrorCase& c : cases) {
    testsupport::ContextFixture f;
    for (const auto& [name, content] : c.files) f.dir.write(name, content);
    f.settings.paths = c.paths;
    f.settings.hasPaths = !c.paths.empty();
    EXPECT_EQ(f.ErrorProblems(f.Convert(c.source), c.message, c.line), "") << c.source;
  }
}

TEST(DataFiles, TextThatCannotBeTranscodedStopsTheRun) {
  const std::string source = "'TEXT' 9 \"t\" {\n\"a.txt\"\n}\n";
  const std::string report = "\n\nGeneralError: Memory allocation error\n\n";
  const std::string last = "Write_Error: GeneralError: Memory allocation error\n";

  // With a transcoder the text file must begin with the source's byte-order mark.
  RunResult run = RunCase(source, {{"f/a.txt", "plain"}}, "-p f -q utf8 utf16");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, report);
  EXPECT_EQ(run.err, "When processing file:\"f\\a.txt\"\n" + last);
  EXPECT_FALSE(run.scriptLeft);

  // A character that the target code page lacks.
  run = RunCase(source,
                {{"a.txt",
                  "\xEF\xBB\xBF"
                  "a\xD0\x96"
                  "b"}},
                "-q utf8 1252");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "Replacement char used\n" + report);
  EXPECT_EQ(run.err,
            "Cannot create encoding:1252!\nWideCharToMultiByte returned bad2\nreplace is used!\n"
            "WideCharToMultiByte returned bad at char:2 1046\n\"a\xD0\x96"
            "b\"When processing file:\"a.txt\"\n" +
                last);
  EXPECT_FALSE(run.scriptLeft);
}

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
  expected +=
      "\r\n\t/* \"Docs\" */\r\n\t0x0044,0x006F,0x0063,0x0073,\r\n\t" + Repeat("0,", 257) + "\r\n\t0,\r\n\t128,\r\n";
  expected += "\r\n\t/* \"a* /b \xC3\xA9\" */\r\n\t0x0061,0x002A,0x002F,0x0062,0x0020,0x00E9,\r\n\t" +
              Repeat("0,", 255) + "\r\n\t0,\r\n\t(BASE+1),\r\n";
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
