#include "Common/Options.h"

#include <gtest/gtest.h>

#include <vector>

#include "Common/MainCons.h"

using tessel::FatalError;
using tessel::RunSettings;

namespace {
struct Parsed {
  RunSettings settings;
  bool failed = false;
  bool usage = false;
  std::string text;
  std::string out, err;
};

Parsed Parse(std::vector<std::string> args) {
  Parsed p;
  std::vector<char*> argv;
  std::string program = "tessel";
  argv.push_back(program.data());
  for (auto& a : args) argv.push_back(a.data());
  tessel::ErrorContext errors;
  tessel::OptionHooks hooks;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  try {
    tessel::ParseConverterOptions(static_cast<int>(argv.size()), argv.data(), 1, p.settings, errors, hooks);
  } catch (const FatalError& e) {
    p.failed = true;
    p.usage = e.silent;
    p.text = e.text;
  }
  p.out = testing::internal::GetCapturedStdout();
  p.err = testing::internal::GetCapturedStderr();
  return p;
}
}  // namespace

TEST(ConverterOptions, AcceptsTheUsualCommandLine) {
  auto p = Parse({"-i", "a.klx", "-O", "b.rc",  "-T", "W",  "-f", "M",  "-l",    "INT",
                  "-d", "WIN",   "-p", "img;x", "-x", "-d", "B",  "-q", "utf-8", "utf-16"});
  ASSERT_FALSE(p.failed) << p.text;
  EXPECT_EQ(p.settings.inputName, "a.klx");
  EXPECT_EQ(p.settings.outputName, "b.rc");
  EXPECT_EQ(p.settings.target, 'w');
  EXPECT_EQ(p.settings.inputFormat, 'm');
  EXPECT_EQ(p.settings.paths, "img;x");
  EXPECT_EQ(p.settings.directiveIds, (std::vector<std::string>{"WIN", "B"}));
}

TEST(ConverterOptions, MisuseShowsTheUsageText) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"-i", "a", "-o", "b"},                                   // no target
      {"-i", "a", "-o", "b", "-t", "w", "-i", "c"},             // input twice
      {"-i", "a", "-o", "b", "-t", "w", "-n"},                  // value-less option as last argument
      {"-i", "a", "-o", "b", "-t", "w", "-z", "1"},             // unknown letter
      {"-i", "a", "-o", "b", "-t", "w", "-w", "1", "-d", "X"},  // 1 is not a multiplier
      {"-i", "a", "-o", "b", "-t", "w", "-l", "int", "-l", "gre"},
      {"-i", "a", "-o", "b", "-t", "w", "-q", "utf8"},  // second encoding missing
      {"-j", "App", "-i", "a", "-o", "b", "-t", "w"},   // key extraction before -o
  };
  for (const auto& args : cases) {
    auto p = Parse(args);
    EXPECT_TRUE(p.failed && p.usage) << ::testing::PrintToString(args);
    EXPECT_NE(p.out.find("Press any key to continue"), std::string::npos);
  }
  auto p = Parse({"-i", "a", "-o", "b", "-t", "w", "-w", "1", "-d", "X"});
  EXPECT_EQ(p.err, "\"1\"\n");
}

TEST(ConverterOptions, BadValuesHaveTheirOwnMessages) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"-i", "a", "-o", "b", "-t", "m"}, "Illegal target specification!"},
      {{"-i", "a", "-o", "b", "-t", "we"}, "Illegal target specification!"},
      {{"-i", "a", "-o", "b", "-t", "w", "-f", "x"}, "Illegal input format specification!"},
      {{"-i", "a", "-o", "b", "-t", "w", "-l", "abc"}, "Illegal code table specification!"},
      {{"-i", "a", "-o", "b", "-t", "w", "-q", "UTF8", "U16"}, "Illegal source encoding!"},
      {{"-i", "a", "-o", "b", "-t", "w", "-q", "U8", "Utf-8"}, "Illegal target encoding!"},
  };
  for (const auto& c : cases) {
    auto p = Parse(c.args);
    EXPECT_TRUE(p.failed && !p.usage);
    EXPECT_EQ(p.text, c.message);
  }
}

TEST(ConverterOptions, MultipliersAndDirectiveIds) {
  auto p = Parse({"-i", "a", "-o", "b", "-t", "w", "-w", "1.5", "2", "-d", "X"});
  ASSERT_FALSE(p.failed);
  EXPECT_EQ(p.settings.multipliers, (std::vector<double>{1.5, 2.0}));
  EXPECT_EQ(p.settings.directiveIds, (std::vector<std::string>{"X"}));

  p = Parse({"-i", "a", "-o", "b", "-t", "w", "-w", "1.5", "2", "3", "4", "5", "6", "7", "-x", "-d", "A", "-d", "B"});
  ASSERT_FALSE(p.failed);
  EXPECT_EQ(p.settings.multipliers.size(), 5u);
  EXPECT_EQ(p.err,
            "# ERROR: AddNewConvImageSizeMultiplier failed to add multiplier 6.00 (convImageSizeMultiplierNum = 5)\n"
            "# ERROR: AddNewConvImageSizeMultiplier failed to add multiplier 7.00 (convImageSizeMultiplierNum = 5)\n");
  EXPECT_EQ(p.settings.directiveIds, (std::vector<std::string>{"A", "B"}));

  p = Parse({"-i", "a", "-o", "b", "-t", "w", "-l", "nul", "-l", "INT", "-j", "x"});
  ASSERT_FALSE(p.failed);
  EXPECT_TRUE(p.settings.keysPass);
  EXPECT_FALSE(p.settings.keyExtraction);
}

TEST(OtherModes, RequiredOptionsAndValues) {
  auto run = [](auto parser, std::vector<std::string> args) {
    Parsed p;
    std::vector<char*> argv;
    std::string program = "tessel";
    argv.push_back(program.data());
    for (auto& a : args) argv.push_back(a.data());
    tessel::ErrorContext errors;
    testing::internal::CaptureStdout();
    try {
      parser(static_cast<int>(argv.size()), argv.data(), 1, p.settings, errors);
    } catch (const FatalError& e) {
      p.failed = true;
      p.usage = e.silent;
    }
    testing::internal::GetCapturedStdout();
    return p;
  };
  auto d = run(tessel::ParseDependencyOptions, {"-i", "a", "-o", "b", "-v", "RES", "-p", "out", "-d", "X"});
  EXPECT_FALSE(d.failed);
  EXPECT_EQ(d.settings.envVariable, "RES");
  EXPECT_EQ(d.settings.destinationPath, "out");
  EXPECT_EQ(d.settings.directiveIds, (std::vector<std::string>{"X"}));
  EXPECT_TRUE(run(tessel::ParseDependencyOptions, {"-i", "a", "-o", "b", "-v", "RES"}).usage);
  EXPECT_FALSE(run(tessel::ParseHelpBitmapOptions, {"-i", "a", "-o", "b"}).failed);
  EXPECT_TRUE(run(tessel::ParseHelpBitmapOptions, {"-i", "a", "-o", "b", "-p", "x"}).usage);
  auto m = run(tessel::ParseMakeFileOptions, {"-i", "a", "-o", "b", "-c", "conv;x", "-b", "bmp", "-p", "dest"});
  EXPECT_FALSE(m.failed);
  EXPECT_EQ(m.settings.converterProgram, "conv;x");
  auto k = run(tessel::ParsePrepkitOptions, {"-i", "a", "-o", "b", "-s", "D"});
  EXPECT_FALSE(k.failed);
  EXPECT_EQ(k.settings.prepkitSwitch, "D");
  EXPECT_TRUE(run(tessel::ParsePrepkitOptions, {"-i", "a", "-o", "b", "-s", "D", "-s", "M"}).usage);
}

TEST(PrepkitMode, ArgumentVector) {
  RunSettings settings;
  settings.inputName = "a";
  settings.outputName = "b";
  EXPECT_EQ(tessel::PrepkitArguments(settings, "tessel"), (std::vector<std::string>{"tessel", "a", "b"}));
  settings.prepkitSwitch = "D";
  settings.hasPrepkitSwitch = true;
  EXPECT_EQ(tessel::PrepkitArguments(settings, "tessel"), (std::vector<std::string>{"tessel", "/D", "a", "b"}));
}

TEST(LongOptions, TakenOutBeforeTheLetterOptions) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> rest;  // after the program name
    bool windres, help, version;
  };
  const std::vector<Case> cases = {
      {{"-i", "a", "--windres", "-o", "b", "-t", "w"}, {"-i", "a", "-o", "b", "-t", "w"}, true, false, false},
      {{"--help"}, {}, false, true, false},
      {{"-m", "k", "--version", "-i", "a"}, {"-m", "k", "-i", "a"}, false, false, true},
      // Only arguments longer than "--" are long options; the rest is left to the letter parsers.
      {{"--", "-", "-windres"}, {"--", "-", "-windres"}, false, false, false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    std::vector<char*> argv = {const_cast<char*>("tessel")};
    for (auto& a : args) argv.push_back(a.data());
    RunSettings settings;
    tessel::ErrorContext errors;
    auto rest = tessel::TakeLongOptions(static_cast<int>(argv.size()), argv.data(), settings, errors);
    std::vector<std::string> restText(rest.begin() + 1, rest.end());
    EXPECT_EQ(restText, c.rest) << ::testing::PrintToString(c.args);
    EXPECT_EQ(std::string(rest[0]), "tessel");
    EXPECT_EQ(settings.windres, c.windres);
    EXPECT_EQ(settings.showHelp, c.help);
    EXPECT_EQ(settings.showVersion, c.version);
  }
}

TEST(LongOptions, UnknownOneShowsTheUsageText) {
  for (std::string arg : {"--windre", "--WINDRES", "--help=1"}) {
    std::vector<char*> argv = {const_cast<char*>("tessel"), arg.data()};
    RunSettings settings;
    tessel::ErrorContext errors;
    testing::internal::CaptureStdout();
    bool usage = false;
    try {
      tessel::TakeLongOptions(2, argv.data(), settings, errors);
    } catch (const FatalError& e) {
      usage = e.silent;
    }
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(usage) << arg;
    EXPECT_NE(out.find("Press any key to continue"), std::string::npos) << arg;
  }
}

TEST(LongOptions, DepfileTakesTheNextArgument) {
  std::vector<std::string> args = {"-i", "a.klx", "--depfile", "out/a.d", "-o", "a.rc"};
  std::vector<char*> argv = {const_cast<char*>("tessel")};
  for (auto& a : args) argv.push_back(a.data());
  RunSettings settings;
  tessel::ErrorContext errors;
  auto rest = tessel::TakeLongOptions(static_cast<int>(argv.size()), argv.data(), settings, errors);
  EXPECT_EQ(rest.size(), 5u);
  EXPECT_TRUE(settings.hasDepfile);
  EXPECT_EQ(settings.depfileName, "out/a.d");
}

TEST(LongOptions, DepfileWithoutItsValueOrTwiceShowsTheUsageText) {
  for (std::vector<std::string> args :
       {std::vector<std::string>{"-i", "a", "--depfile"}, std::vector<std::string>{"--depfile", "x", "--depfile", "y"},
        std::vector<std::string>{"--windres", "--windres"}}) {
    std::vector<char*> argv = {const_cast<char*>("tessel")};
    for (auto& a : args) argv.push_back(a.data());
    RunSettings settings;
    tessel::ErrorContext errors;
    testing::internal::CaptureStdout();
    bool usage = false;
    try {
      tessel::TakeLongOptions(static_cast<int>(argv.size()), argv.data(), settings, errors);
    } catch (const FatalError& e) {
      usage = e.silent;
    }
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(usage) << ::testing::PrintToString(args);
  }
}
