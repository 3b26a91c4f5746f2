// Whole runs: what each kind of output name ends up as, the dependency file, and the checks
// of the source and the resource list that a build relies on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "platform/Platform.h"

namespace {

using testsupport::TempDir;
using namespace std::string_literals;

constexpr const char* kSource = "'STR ' 128 \"Name\" {\n\t\"Tessel\"\n}\n";
constexpr const char* kBroken = "'STR ' 128 \"Name\" {\n\t\"Tessel\"\n";

struct RunResult {
  int exitCode = -1;
  std::string out;
};

// Runs tessel in the directory with the (shell-quoted) arguments; standard output is kept.
RunResult Tessel(const TempDir& dir, const std::string& args) {
  const std::string command =
      "cd '" + dir.path() + "' && '" TESSEL_BINARY "' " + args + " > .stdout 2> .stderr < /dev/null";
  const int status = std::system(command.c_str());
  RunResult run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = dir.read(".stdout");
  unlink(dir.file(".stdout").c_str());
  unlink(dir.file(".stderr").c_str());
  return run;
}

mode_t Kind(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return st.st_mode & S_IFMT;
}

// The temporary files left in a directory.
std::vector<std::string> Temporaries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const std::string& name : platform::ListDirectory(dir.path())) {
    if (name.rfind(".tessel-", 0) == 0) names.push_back(name);
  }
  return names;
}

TEST(RunOutputs, AFifoOutputIsWrittenInPlaceAndOutlivesAFailedRun) {
  TempDir dir;
  dir.write("a.klx", kSource);
  ASSERT_EQ(mkfifo(dir.file("out.rc").c_str(), 0600), 0);
  int reader = open(dir.file("out.rc").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(Tessel(dir, "-i a.klx -o out.rc -t w").exitCode, 0);
  std::string script(4096, '\0');
  script.resize(static_cast<size_t>(std::max<ssize_t>(0, read(reader, script.data(), script.size()))));
  EXPECT_NE(script.find("BEGIN\r\n\t7, 0,\r\n\t\"\\x06Tessel\""), std::string::npos) << script;
  EXPECT_EQ(Kind(dir.file("out.rc")), S_IFIFO);
  EXPECT_EQ(dir.read("out.reslist.txt"), "'STR ' 128\r\n");

  dir.write("a.klx", kBroken);
  EXPECT_EQ(Tessel(dir, "-i a.klx -o out.rc -t w --depfile out.d").exitCode, 1);
  EXPECT_EQ(Kind(dir.file("out.rc")), S_IFIFO);
  EXPECT_FALSE(dir.exists("out.d"));
  EXPECT_TRUE(Temporaries(dir).empty());
  close(reader);
}

TEST(RunOutputs, ADeviceOutputIsWrittenToAndNeverReplaced) {
  TempDir dir;
  if (mknod(dir.file("out.rc").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot create a device node here (mknod needs CAP_MKNOD); the FIFO run covers in-place outputs";
  }
  dir.write("a.klx", kSource);
  EXPECT_EQ(Tessel(dir, "-i a.klx -o out.rc -t w").exitCode, 0);
  EXPECT_EQ(Kind(dir.file("out.rc")), S_IFCHR);
  dir.write("a.klx", kBroken);
  EXPECT_EQ(Tessel(dir, "-i a.klx -o out.rc -t w").exitCode, 1);
  EXPECT_EQ(Kind(dir.file("out.rc")), S_IFCHR);
  EXPECT_TRUE(Temporaries(dir).empty());
}

TEST(RunOutputs, ALinkOutputKeepsTheLinkAndReplacesItsTarget) {
  TempDir dir;
  dir.write("a.klx", kSource);
  dir.write("real/app.rc", "old");
  ASSERT_EQ(symlink("real/app.rc", dir.file("out.rc").c_str()), 0);
  EXPECT_EQ(Tessel(dir, "-i a.klx -o out.rc -t w").exitCode, 0);
  EXPECT_EQ(Kind(dir.file("out.rc")), S_IFLNK);
  EXPECT_EQ(dir.read("real/app.rc").substr(0, 19), "//nclude \"DGDefs.h\"");
  EXPECT_EQ(platform::ListDirectory(dir.file("real")), std::vector<std::string>{"app.rc"});

  dir.write("a.klx", kBroken);
  EXPECT_EQ(Tessel(dir, "-i a.klx -o out.rc -t w").exitCode, 1);
  EXPECT_EQ(Kind(dir.file("out.rc")), S_IFLNK);
  EXPECT_EQ(Kind(dir.file("real/app.rc")), S_IFREG);
}

TEST(RunOutputs, AZeroByteEndsTheRunAtItsLineInEveryMode) {
  const char* const modes[] = {
      "-t w -i a.klx -o out.rc",        "-m p -t w -i a.klx -o out.rc",
      "-m q -t w -i a.klx -o out.rc",   "-m d -v RES -p out -i a.klx -o out.rc",
      "-m h -i a.klx -o out.rc",        "-m m -c conv -p out -i a.klx -o out.rc",
      "-t w -i a.klx -o out.rc -j App",
  };
  TempDir dir;
  dir.write("a.klx", "'STR ' 128 \"Name\" {\r\n\t\"Tes\0sel\"\n}\n"s);
  for (const char* mode : modes) {
    SCOPED_TRACE(mode);
    const RunResult run = Tessel(dir, mode);
    EXPECT_EQ(run.exitCode, 1);
    const std::string tail = "a.klx (2) : Illegal character: \\0\n\n";
    EXPECT_TRUE(run.out.size() > tail.size() && run.out.compare(run.out.size() - tail.size(), tail.size(), tail) == 0)
        << run.out;
    EXPECT_FALSE(dir.exists("out.rc"));
  }
}

TEST(RunOutputs, AResourceListThatCannotBeCreatedIsReportedAtTheCurrentLine) {
  TempDir dir;
  dir.write("a.klx", std::string("\n") + kSource);
  dir.write("a.reslist.txt/x", "");
  const RunResult run = Tessel(dir, "-i a.klx -o a.rc -t w");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("a.klx (4) : Can't open file: a.reslist.txt  (ResID: 128)\n"), std::string::npos) << run.out;
  EXPECT_FALSE(dir.exists("a.rc"));
}

// A source that reads every kind of input file, with names that need escaping.
struct DepfileFixture {
  TempDir dir;
  DepfileFixture() {
    dir.write("a.klx",
              "'TEXT' 200 \"Notes\" {\n\t\"my notes.txt\"\n}\n"
              "'DATA' 201 \"Data\" {\n\t\"cost$#1.dat\"\n}\n"
              "'DATA' 202 \"Again\" {\n\t\"cost$#1.dat\"\n}\n"
              "'QICN' 300 \"Icon\" {\n\t\"icon\"\n}\n");
    dir.write("in/my notes.txt", "notes");
    dir.write("in/cost$#1.dat", "1234");
    const std::string png = testsupport::ReadFile(std::string(TESSEL_SOURCE_DIR) + "/examples/images/appicon.png");
    dir.write("in/icon.png", png);
    dir.write("ids.h", "ID_ONE = 1\n");
  }
};

TEST(RunOutputs, TheDepfileListsEveryFileReadOnceAndEscaped) {
  DepfileFixture f;
  const RunResult run = Tessel(f.dir, "-i a.klx -o out/app.rc -t w -p in -h ids.h -h missing.h --depfile deps/app.d");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(f.dir.read("deps/app.d"),
            "out/app.rc: \\\n"
            " ids.h \\\n"
            " a.klx \\\n"
            " in/my\\ notes.txt \\\n"
            " in/cost$$\\#1.dat \\\n"
            " in/icon.png\n");
  EXPECT_TRUE(f.dir.exists("out/app.rc"));
}

TEST(RunOutputs, KeyExtractionWritesADepfileToo) {
  DepfileFixture f;
  EXPECT_EQ(Tessel(f.dir, "-i a.klx -o app.keys.json -t w -j App --depfile app.d").exitCode, 0);
  EXPECT_EQ(f.dir.read("app.d"), "app.keys.json: \\\n a.klx\n");
}

TEST(RunOutputs, AFailedRunLeavesNoDepfileAndNoScript) {
  DepfileFixture f;
  f.dir.write("app.rc", "old");
  f.dir.write("app.d", "app.rc: a.klx\n");
  f.dir.write("a.klx", kBroken);
  EXPECT_EQ(Tessel(f.dir, "-i a.klx -o app.rc -t w --depfile app.d").exitCode, 1);
  EXPECT_FALSE(f.dir.exists("app.rc"));
  EXPECT_FALSE(f.dir.exists("app.d"));
  EXPECT_TRUE(Temporaries(f.dir).empty());
}

TEST(RunOutputs, ADepfileThatCannotBeWrittenFailsTheRun) {
  DepfileFixture f;
  f.dir.write("deps/x", "");
  const RunResult run = Tessel(f.dir, "-i a.klx -o app.rc -t w -p in --depfile deps");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("GeneralError: Can't write the dependency file deps"), std::string::npos) << run.out;
  EXPECT_FALSE(f.dir.exists("app.rc"));
  EXPECT_EQ(Kind(f.dir.file("deps")), S_IFDIR);
}

TEST(RunOutputs, TheDepfileIsRefusedOutsideConversionsAndKeyExtraction) {
  DepfileFixture f;
  const char* const refused[] = {"-m d -i a.klx -o a.deps -v RES -p out", "-m h -i a.klx -o a.out",
                                 "-m m -i a.klx -o a.out -c conv -p out", "-m p -i a.klx -o a.p -t w",
                                 "-m k -i ids.h -o ids.dat"};
  for (const char* args : refused) {
    SCOPED_TRACE(args);
    const RunResult run = Tessel(f.dir, std::string(args) + " --depfile x.d");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("--depfile is accepted only in mode r and in key extraction (-j)"), std::string::npos)
        << run.out;
    EXPECT_FALSE(f.dir.exists("x.d"));
  }
  // Without its value the option is misused: the usage text follows.
  EXPECT_NE(Tessel(f.dir, "-i a.klx -o a.rc -t w --depfile").out.find("Usage: tessel"), std::string::npos);
}

}  // namespace

// A large anchor list is checked while the outputs are put in place: the warnings, the outputs
// and a failure of either end up as when one came after the other.
TEST(RunOutputs, ALargeAnchorListIsCheckedAsTheOutputsArePutInPlace) {
  TempDir dir;
  std::string source = "'DHLP' 1 {\n\"First\"\tDup\n\"Second\"\tDup\n}\n'DLGH' 2 Large {\n";
  for (int i = 1; i <= 4000; ++i) {
    source += std::to_string(i) + "\t\"The help text of item " + std::to_string(i) +
              ", long enough to make the list large.\"\tItem" + std::to_string(i) + "\n";
  }
  source += "}\n";
  dir.write("a.klx", source);
  const RunResult run = Tessel(dir, "-i a.klx -o app.rc -t w");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(run.out, "Duplicated Anchor: \"Dup\"\n");
  EXPECT_GT(platform::FileSize(dir.file("app.rc.res.tmt")), 256 << 10);
  const std::string script = dir.read("app.rc");
  const std::string end = "0x3034,0x3030,\"\\x00\",\r\nEND\r\n\r\n";  // "...Item4000" as data words
  EXPECT_EQ(script.substr(script.size() - std::min(script.size(), end.size())), end);
  EXPECT_TRUE(Temporaries(dir).empty());

  dir.write("deps/x", "");
  const RunResult failed = Tessel(dir, "-i a.klx -o app.rc -t w --depfile deps");
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out.find("Duplicated Anchor: \"Dup\"\n"), 0u) << failed.out;
  EXPECT_NE(failed.out.find("GeneralError: Can't write the dependency file deps"), std::string::npos) << failed.out;
  EXPECT_FALSE(dir.exists("app.rc"));
  EXPECT_TRUE(Temporaries(dir).empty());
}
