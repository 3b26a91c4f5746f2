// Conversions at the edges of the stated limits: token and name lengths, the path list, the
// multiplier list (whole runs), deep nesting of conditionals and a source that is one huge line.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ContextFixture.h"
#include "TestSupport.h"
#include "frontend/Tokens.h"
#include "resources/ResourceLoop.h"
#include "resources/RunSource.h"

namespace {

using testsupport::TempDir;

using RunResult = testsupport::SourceRun;

// Runs tessel in `dir` with the given (shell-quoted) arguments on a.klx, writing a.out.
RunResult RunTessel(const TempDir& dir, const std::string& source, const std::string& args) {
  return testsupport::RunTessel(dir, source, args, "a.out");
}

// A small opaque RGBA image.
void WritePng(const std::string& path, int size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = static_cast<png_uint_32>(size);
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(static_cast<size_t>(size * size * 4), 0xFF);
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) << path;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A run stopped by a fatal source error at the line: exit code 1, the located report, and no
// output left.
void ExpectRunSourceError(const RunResult& run, const std::string& message, int line) {
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Write_Error: " + message + "\n");
  EXPECT_TRUE(EndsWith(run.out, "a.klx (" + std::to_string(line) + ") : " + message + "\n\n")) << run.out;
  EXPECT_FALSE(run.scriptLeft);
}

using Options = std::function<void(tessel::RunSettings&)>;
const Options kTargetW = [](tessel::RunSettings&) {};
const Options kDefineX = [](tessel::RunSettings& s) { s.directiveIds = {"X"}; };

// Converts the source in memory (see testsupport::ContextFixture) with the settings of the options.
testsupport::Conversion Convert(const std::string& source, const Options& options) {
  testsupport::ContextFixture fixture;
  options(fixture.settings);
  return fixture.Convert(source);
}

// The conversion stops with a source error at the line.
void ExpectSourceError(const std::string& source, const Options& options, const std::string& message, int line) {
  testsupport::ContextFixture fixture;
  options(fixture.settings);
  EXPECT_EQ(fixture.ErrorProblems(fixture.Convert(source), message, line), "");
}

TEST(Limits, TokenOfTheLongestLengthAndOneMore) {
  using tessel::kTokenLimit;
  // Directive and at-sign lines are tokens copied whole into the script.
  for (const std::string lead : {"#define X ", "@"}) {
    const std::string longest = lead + std::string(kTokenLimit - lead.size(), 'v');
    const testsupport::Conversion run = Convert(longest + "\r\n", kTargetW);
    EXPECT_FALSE(run.failed) << lead << run.report;
    const std::string copied = lead == "@" ? longest.substr(1) : longest;
    EXPECT_NE(run.script.find("\r\n" + copied + "\r\n"), std::string::npos) << lead;

    ExpectSourceError("\n" + longest + "v\r\n", kTargetW, "String is too long", 2);
  }
}

TEST(Limits, NameOfTheLongestLengthAndOneMore) {
  using tessel::kNameLimit;
  const std::string pair = " \"Pair\" {\n\tA\n\tB\n}\n";
  const testsupport::Conversion run = Convert("'MDID' " + std::string(kNameLimit, 'n') + pair, kTargetW);
  EXPECT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find(std::string(kNameLimit, 'n') + " MDID"), std::string::npos);

  ExpectSourceError("\n'MDID' " + std::string(kNameLimit + 1, 'n') + pair, kTargetW, "Identifier or number is too long",
                    2);
}

TEST(Limits, PathListKeepsTenEntriesTheLastWithTheRest) {
  EXPECT_EQ(tessel::SplitPathList("a;b;c;d;e;f;g;h;i;j"),
            (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
  EXPECT_EQ(tessel::SplitPathList("a;b;c;d;e;f;g;h;i;j;k;l"),
            (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j;k;l"}));
  EXPECT_EQ(tessel::SplitPathList(""), (std::vector<std::string>{""}));
}

TEST(Limits, DataFileFoundThroughTheTenthPathOnly) {
  // The source's files, each run in a directory of its own.
  struct Case {
    const char* source;
    const char* paths;
    const char* error;  // none: converted
  };
  const Case cases[] = {
      {"'DATA' 1 \"D\" {\n\"ten.bin\"\n}\n", "a;b;c;d;e;f;g;h;i;j", nullptr},
      // With eleven entries the tenth is "j;k": neither j nor k is searched.
      {"'DATA' 1 \"D\" {\n\"ten.bin\"\n}\n", "a;b;c;d;e;f;g;h;i;j;k", "Can't open file: ten.bin  (ResID: 1)"},
      {"'DATA' 1 \"D\" {\n\"eleven.bin\"\n}\n", "a;b;c;d;e;f;g;h;i;j;k", "Can't open file: eleven.bin  (ResID: 1)"},
  };
  for (const Case& c : cases) {
    testsupport::ContextFixture fixture;
    fixture.dir.write("j/ten.bin", "10");
    fixture.dir.write("k/eleven.bin", "11");
    fixture.settings.paths = c.paths;
    fixture.settings.hasPaths = true;
    const testsupport::Conversion run = fixture.Convert(c.source);
    if (c.error) {
      EXPECT_EQ(fixture.ErrorProblems(run, c.error, 2), "") << c.paths;
    } else {
      EXPECT_FALSE(run.failed) << run.report;
      EXPECT_NE(run.script.find("1 DATA\r\nBEGIN\r\n\t2, 0,\r\n\t0x3031,\r\n"), std::string::npos) << run.script;
    }
  }
}

TEST(Limits, FiveMultipliersAndMore) {
  TempDir dir;
  RunResult run = RunTessel(dir, "", "-t w -w 1.5 2 3 4 5 -d X");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  run = RunTessel(dir, "", "-t w -w 1.5 2 3 4 5 6 7 -d X");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err,
            "# ERROR: AddNewConvImageSizeMultiplier failed to add multiplier 6.00 (convImageSizeMultiplierNum = 5)\n"
            "# ERROR: AddNewConvImageSizeMultiplier failed to add multiplier 7.00 (convImageSizeMultiplierNum = 5)\n");

  // An icon gets one file per density: the base one and five multipliers, not the sixth.
  std::filesystem::create_directories(dir.file("img"));
  WritePng(dir.file("img/arrow.png"), 16);
  for (const char* scale : {"1.50", "2.00", "3.00", "4.00", "5.00", "6.00"}) {
    WritePng(dir.file("img/arrow@" + std::string(scale) + "x.png"), 16);
  }
  run = RunTessel(dir, "'QICN' 100 \"Arrow\" {\n\"arrow\"\n}\n", "-t w -p img -w 1.5 2 3 4 5 6");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  for (int dpi : {96, 144, 192, 288, 384, 480}) {
    EXPECT_TRUE(dir.exists("arrow&" + std::to_string(dpi) + ".ico")) << dpi;
    EXPECT_NE(run.script.find("I100&" + std::to_string(dpi) + "\tICON"), std::string::npos) << dpi;
  }
  EXPECT_FALSE(dir.exists("arrow&576.ico"));
  // A cursor holds five images: with five multipliers the sixth image is refused.
  run = RunTessel(dir, "'QCSR' 101 \"Arrow\" {\n\"arrow\"\n1 1\n}\n", "-t w -p img -w 1.5 2 3 4");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  run = RunTessel(dir, "'QCSR' 101 \"Arrow\" {\n\"arrow\"\n1 1\n}\n", "-t w -p img -w 1.5 2 3 4 5");
  ExpectRunSourceError(run, "An error was occured during conversion of icon img\\arrow@5.00x.png  (ResID: 101)", 3);
}

TEST(Limits, DeeplyNestedConditionals) {
  constexpr int kDepth = 100000;
  std::string source;
  for (int i = 0; i < kDepth; ++i) source += i % 2 ? "#ifndef Y\n" : "#ifdef X\n";
  source += "@inner\n";
  for (int i = 0; i < kDepth; ++i) source += "#endif\n";
  testsupport::Conversion run = Convert(source, kDefineX);
  EXPECT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find("\r\ninner\r\n"), std::string::npos);
  run = Convert(source, kTargetW);
  EXPECT_FALSE(run.failed) << run.report;
  EXPECT_EQ(run.script.find("inner"), std::string::npos);
  // Mode p keeps every line in its place (after the include line).
  run = Convert(source, [](tessel::RunSettings& s) {
    s.mode = tessel::Mode::kPreprocess;
    s.directiveIds = {"X"};
  });
  EXPECT_FALSE(run.failed);
  const size_t inner = run.script.find("\r\n@inner\r\n");
  ASSERT_NE(inner, std::string::npos);
  EXPECT_EQ(std::count(run.script.begin(), run.script.begin() + inner + 2, '\n'), kDepth + 1);

  // One #endif too few: the outermost conditional is the one left open.
  source.resize(source.size() - 7);
  ExpectSourceError("\n" + source, kDefineX, "Unmatching #ifdef / #ifndef is encountered", 2);
}

TEST(Limits, SourceOfOneHugeLine) {
  constexpr size_t kSize = 4 << 20;
  // A line comment and blanks before a resource, without a final line end.
  testsupport::Conversion run = Convert("//" + std::string(kSize, 'c'), kTargetW);
  EXPECT_FALSE(run.failed) << run.report;
  run = Convert(std::string(kSize, ' ') + "'MDID' 1 \"Pair\" {\n\tA\n\tB\n}", kTargetW);
  EXPECT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find("1 MDID"), std::string::npos);
  // A block comment as long as the whole line is cleared, and mode p writes the line back.
  run = Convert("/*" + std::string(kSize, '*') + "*/",
                [](tessel::RunSettings& s) { s.mode = tessel::Mode::kPreprocess; });
  EXPECT_FALSE(run.failed);
  EXPECT_TRUE(EndsWith(run.script, std::string(kSize + 4, ' ')));
  // A huge line of names where one item is expected.
  std::string names;
  for (size_t i = 0; i < kSize / 8; ++i) names += " name_12";
  ExpectSourceError("'MDID' 1 \"Pair\" {\n\tA" + names + "\n\tB\n}\n", kTargetW, "Extra character on line  (ResID: 1)",
                    2);
}

}  // namespace
