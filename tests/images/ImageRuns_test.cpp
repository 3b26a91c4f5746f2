// Whole runs of the program over image resources: fatal errors, notes on standard error,
// and the colour change of an installed tool tree.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "ContextFixture.h"
#include "ImageTestSupport.h"
#include "TestSupport.h"

namespace {

struct RunResult {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// `environment` is put before the program on the shell's command line ("NAME=value").
RunResult RunTessel(const testsupport::TempDir& dir, const std::vector<std::string>& args,
                    const std::string& program = TESSEL_BINARY, const std::string& environment = "") {
  std::string command = "cd " + Quote(dir.path()) + " && " + environment + " " + Quote(program);
  for (const auto& a : args) command += " " + Quote(a);
  command += " > .stdout 2> .stderr < /dev/null";
  RunResult result;
  int status = std::system(command.c_str());
  result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = dir.read(".stdout");
  result.err = dir.read(".stderr");
  std::filesystem::remove(dir.file(".stdout"));
  std::filesystem::remove(dir.file(".stderr"));
  return result;
}

void SmallPng(const testsupport::TempDir& dir, const std::string& name, uint32_t size = 2) {
  std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
  imagetest::WritePng(dir.file(name),
                      imagetest::Rgba(size, size, std::vector<uint32_t>(size_t{size} * size, 0xFF808080)));
}

std::vector<std::string> FilesIn(const std::string& path) {
  std::vector<std::string> names;
  if (!std::filesystem::exists(path)) return names;
  for (const auto& e : std::filesystem::directory_iterator(path)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<std::string> kConvert = {"-i", "a.klx", "-o", "out/a.rc", "-t", "w", "-p", "img"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

}  // namespace

TEST(ImageRuns, ImageErrorsEndTheRunWithoutLeavingFiles) {
  struct Case {
    const char* name;
    std::string source;
    std::vector<std::string> extraArgs;
    std::string message;  // after "a.klx (<line>) : "
    std::string err;
  };
  const std::string icon = "'QICN' 128 \"A\" {\r\n    \"a\"\r\n}\r\n";
  const std::string cursor = "'QCSR' 128 \"A\" {\r\n    \"a\"\r\n    1 1\r\n}\r\n";
  const Case cases[] = {
      {"missing",
       icon,
       {"-p", "img"},
       "(2) : An error was occured during conversion of icon img\\a.png  (ResID: 128)",
       ""},
      {"text as png",
       icon,
       {"-p", "img"},
       "(2) : An error was occured during conversion of icon img\\a.png  (ResID: 128)",
       ""},
      {"truncated png",
       cursor,
       {"-p", "img"},
       "(3) : An error was occured during conversion of icon img\\a.png  (ResID: 128)",
       "libpng error: Read Error\n"},
      {"bad svg",
       icon,
       {"-p", "img"},
       "(2) : An error was occured during conversion of icon out\\a.png  (ResID: 128)",
       "#ERROR: Failed to convert PNG file from SVG. (img\\a_16x16.svg)\n"},
      {"bad scaled svg",
       icon,
       {"-p", "img", "-w", "1.5"},
       "(2) : An error was occured during conversion of icon out\\a@1.50x.png  (ResID: 128)",
       "#ERROR: Failed to convert PNG file from SVG. (img\\a_16x16.svg)\n"},
      {"no image dir",
       icon,
       {"-p", "nodir"},
       "(2) : An error was occured during conversion of icon nodir\\a.png  (ResID: 128)",
       "# WARNING: FindSVG could not read the input directory nodir\n"},
      {"sixth cursor image",
       cursor,
       {"-p", "img", "-w", "1.5", "2", "2.5", "3", "3.5"},
       "(3) : An error was occured during conversion of icon img\\a@3.50x.png  (ResID: 128)",
       ""},
  };
  for (const auto& c : cases) {
    testsupport::TempDir dir;
    dir.write("a.klx", c.source);
    std::filesystem::create_directories(dir.file("img"));
    std::string name = c.name;
    if (name == "text as png") dir.write("img/a.png", "not an image\n");
    if (name == "truncated png") {
      SmallPng(dir, "img/a.png", 32);
      dir.write("img/a.png", dir.read("img/a.png").substr(0, 60));
    }
    if (name == "bad svg" || name == "bad scaled svg") dir.write("img/a_16x16.svg", "<svg broken");
    if (name == "bad scaled svg") SmallPng(dir, "img/a.png");
    if (name == "sixth cursor image") {
      for (const char* png : {"a.png", "a@1.50x.png", "a@2.00x.png", "a@2.50x.png", "a@3.00x.png", "a@3.50x.png"})
        SmallPng(dir, std::string("img/") + png);
    }
    std::vector<std::string> args = {"-i", "a.klx", "-o", "out/a.rc", "-t", "w"};
    RunResult run = RunTessel(dir, With(args, c.extraArgs));
    EXPECT_EQ(run.exit, 1) << c.name;
    EXPECT_NE(run.out.find("/a.klx " + c.message + "\n\n"), std::string::npos) << c.name << ": " << run.out;
    std::string text = c.message.substr(c.message.find(" : ") + 3);
    EXPECT_EQ(run.err, c.err + "Write_Error: " + text + "\n") << c.name;
    // Neither the script nor an unfinished icon or cursor file is left; icons finished before
    // the error stay.
    for (const auto& f : FilesIn(dir.file("out"))) {
      EXPECT_NE(f, "a.rc") << c.name;
      if (name == "bad scaled svg" && f == "a&96.ico") continue;
      EXPECT_EQ(f.find(".ico"), std::string::npos) << c.name << ": " << f;
      EXPECT_EQ(f.find(".cur"), std::string::npos) << c.name << ": " << f;
    }
  }
}

// With the image directory as the destination, the files a run makes there (renderings, icons)
// take part in later SVG lookups of the same run, as a fresh listing would show them. The name
// below is an SVG source for the base name "x" once it exists, and sorts before the source that
// was there from the start. (The resource list takes its name only when the run ends.)
TEST(ImageRuns, LaterLookupsSeeTheFilesTheRunMade) {
  struct Case {
    const char* name;
    std::string output;
    std::string firstBase;
    std::string madeSource;  // the file the run made that the second icon's lookup finds
  };
  const Case cases[] = {
      {"icon of the first resource", "img/a.rc", "x_4x4.svg y", "x_4x4.svg y&96.ico"},
  };
  for (const auto& c : cases) {
    testsupport::TempDir dir;
    dir.write("img/x_4x4.svg y_4x4.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'/>\n");
    SmallPng(dir, "img/q.png");
    dir.write("a.klx",
              "'QICN' 1 \"A\" {\r\n    \"" + c.firstBase + "\"\r\n}\r\n'QICN' 2 \"B\" {\r\n    \"x\"\r\n}\r\n");
    RunResult run = RunTessel(dir, {"-i", "a.klx", "-o", c.output, "-t", "w", "-p", "img"});
    EXPECT_EQ(run.exit, 1) << c.name;
    EXPECT_EQ(run.err, "#ERROR: Failed to convert PNG file from SVG. (img\\" + c.madeSource +
                           ")\nWrite_Error: An error was occured during conversion of icon img\\x.png  (ResID: 2)\n")
        << c.name;
  }
}

TEST(ImageRuns, SourceErrorsOfImageResources) {
  const testsupport::SourceErrorCase cases[] = {
      {"'QICN' 128 \"A\" Mac {\r\n}\r\n", "Can't recognize item Mac  (ResID: 128)", 1},
      {"'QICN' IDX \"A\" {\r\n}\r\n", "Illegal decimal integer value or undefined constant  (ResID: IDX)", 1},
      {"'QICN' 128 \"A\" {\r\n    \"a\"\r\n    \"b\"\r\n}\r\n", "} is expected  (ResID: 128)", 3},
      {"'QICN' 128 {\r\n}\r\n", "String is missing  (ResID: 128)", 1},
      {"'QCSR' 1 \"C\" {\r\n}\r\n", "An item is missing  (ResID: 1)", 2},
      {"'QCSR' 1 \"C\" {\r\n    256 0\r\n}\r\n", "Unsigned char value is expected  (ResID: 1)", 2},
      {"'QCSR' 1 \"C\" {\r\n    1\r\n    2\r\n}\r\n", "An item is missing  (ResID: 1)", 2},
      {"'ICN#' 130 \"I\" {\r\n    Grey\r\n}\r\n", "Can't recognize item Grey  (ResID: 130)", 2},
      {"'ICN#' 130 \"I\" { Mono\r\n}\r\n", "Extra character on line  (ResID: 130)", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(testsupport::CheckSourceError(c), "") << c.source;

  // The dependency list (mode d) checks the ID as well.
  testsupport::ContextFixture list;
  list.settings.mode = tessel::Mode::kDependencies;
  list.settings.envVariable = "RES";
  list.settings.destinationPath = "out";
  const testsupport::Conversion run = list.Convert("'QICN' IDX \"A\" {\r\n}\r\n");
  EXPECT_TRUE(run.failed);
  EXPECT_NE(run.report.find("/a.klx (1) : Illegal decimal integer value or undefined constant  (ResID: IDX)\n\n"),
            std::string::npos)
      << run.report;
}

TEST(ImageRuns, UnwritableCursorIsANoteAndTheRunGoesOn) {
  testsupport::TempDir dir;
  dir.write("a.klx", "'QCSR' 5 \"C\" {\r\n    \"a\"\r\n    0 0\r\n}\r\n");
  SmallPng(dir, "img/a.png");
  std::filesystem::create_directories(dir.file("out/a.cur"));  // a folder where the file should go
  RunResult run = RunTessel(dir, kConvert);
  EXPECT_EQ(run.exit, 0) << run.out;
  EXPECT_EQ(run.err, "#ERROR: Failed to write cursor file. (out\\a.cur)\n");
  EXPECT_NE(dir.read("out/a.rc").find("5\tCURSOR a.cur\r\n\r\n"), std::string::npos);
}

TEST(ImageRuns, InstalledToolsRecolourTheSvgSource) {
  testsupport::TempDir dir;
  std::string program = dir.file("tools/Tessel/bin/tessel");
  std::filesystem::create_directories(dir.file("tools/Tessel/bin"));
  std::filesystem::copy_file(TESSEL_BINARY, program);
  std::filesystem::copy_file(TESSEL_SVG_MODULE, dir.file("tools/Tessel/bin/libtessel-svg.so"));
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  // tool root: <dir>/tools/; editor folder two levels up; interpreter one level up
  testsupport::WriteFile(dir.file("Common/QX/SVGEditor/SVG_ColorChange_Win.conf"), "red=green\n");
  testsupport::WriteFile(dir.file("Common/QX/SVGEditor/modifySVG.pl"), "# stand-in\n");
  testsupport::WriteFile(dir.file("Perl/bin/perl"), "#!/bin/sh\nsed 's/#ff0000/#00ff00/' \"$3\" > \"$4\"\n");
  std::filesystem::permissions(dir.file("Perl/bin/perl"), std::filesystem::perms::owner_all);

  dir.write("a.klx", "'QICN' 7 \"S\" {\r\n    \"s\"\r\n}\r\n");
  dir.write("img/s_4x4.svg",
            "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
            "<rect width='4' height='4' fill='#ff0000'/></svg>\n");
  RunResult run = RunTessel(dir, With(kConvert, {"-w", "2"}), program);
  ASSERT_EQ(run.exit, 0) << run.out << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(FilesIn(dir.file("out")),
            (std::vector<std::string>{"a.rc", "a.reslist.txt", "s&192.ico", "s&96.ico", "s.png", "s@2.00x.png"}));
  std::string png = dir.read("out/s@2.00x.png");
  // Solid green: the rendered PNG holds no red and the icon carries it unchanged.
  EXPECT_EQ(dir.read("out/s&192.ico").substr(22), png);
}

TEST(ImageRuns, RendererLibrariesAreLoadedOnlyToRenderAnSvg) {
  struct Case {
    const char* name;
    std::string source;
    bool renders;
  };
  const Case cases[] = {
      {"strings", "'STR#' 128 \"S\" {\r\n    \"a\"\r\n}\r\n", false},
      {"png icon", "'QICN' 1 \"P\" {\r\n    \"p\"\r\n}\r\n", false},
      {"svg icon", "'QICN' 2 \"S\" {\r\n    \"s\"\r\n}\r\n", true},
  };
  const char* const libraries[] = {"libtessel-svg.so", "librsvg-2.so", "libcairo.so", "libgobject-2.0.so",
                                   "libglib-2.0.so"};
  for (const auto& c : cases) {
    testsupport::TempDir dir;
    dir.write("a.klx", c.source);
    SmallPng(dir, "img/p.png");
    dir.write("img/s_4x4.svg",
              "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
              "<rect width='4' height='4' fill='#ff0000'/></svg>\n");
    // The dynamic loader names every library it opens.
    RunResult run = RunTessel(dir, kConvert, TESSEL_BINARY, "LD_DEBUG=files");
    ASSERT_EQ(run.exit, 0) << c.name << ": " << run.out << run.err;
    std::vector<std::string> loaded;  // "file=<name or path> [0];  needed by ..." in the loader's report
    for (size_t at = run.err.find("file="); at != std::string::npos; at = run.err.find("file=", at + 1)) {
      std::string file = run.err.substr(at + 5, run.err.find(' ', at) - at - 5);
      loaded.push_back(file.substr(file.rfind('/') + 1));
    }
    ASSERT_FALSE(loaded.empty()) << c.name << ": " << run.err;
    for (const char* library : libraries) {
      bool found =
          std::any_of(loaded.begin(), loaded.end(), [&](const std::string& f) { return f.rfind(library, 0) == 0; });
      EXPECT_EQ(found, c.renders) << c.name << ": " << library;
    }
    EXPECT_EQ(dir.exists("out/s.png"), c.renders) << c.name;
  }
}

TEST(ImageRuns, MissingOrBrokenRendererModuleIsAFatalError) {
  // A library that loads but lacks the entry point: the PNG library this test is linked with.
  Dl_info pngLibrary{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&png_access_version_number), &pngLibrary), 0);
  struct Case {
    const char* name;
    std::string moduleSource;  // copied beside the program; empty: none
    bool installed;            // the working module in the library folder of an installation
    std::string loaderText;    // a part of the loader's message
  };
  const Case cases[] = {
      {"missing", "", false, "No such file or directory"},
      {"not a library", "text", false, "invalid ELF header"},
      {"no entry point", pngLibrary.dli_fname, false, "undefined symbol: tessel_svg_render_v1"},
      {"installed", "", true, ""},
  };
  const std::string svgIcon = "'QICN' 2 \"S\" {\r\n    \"s\"\r\n}\r\n";
  for (const auto& c : cases) {
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir.file("bin"));
    const std::string bin = std::filesystem::canonical(dir.file("bin"));
    std::filesystem::copy_file(TESSEL_BINARY, bin + "/tessel");
    const std::string besideProgram = bin + "/libtessel-svg.so";
    const std::string inLibraryFolder = bin + "/" TESSEL_SVG_MODULE_SUBDIR "/libtessel-svg.so";
    if (c.moduleSource == "text") {
      dir.write("bin/libtessel-svg.so", std::string(100, 'x'));
    } else if (!c.moduleSource.empty()) {
      std::filesystem::copy_file(c.moduleSource, besideProgram);
    }
    if (c.installed) {
      std::filesystem::create_directories(std::filesystem::path(inLibraryFolder).parent_path());
      std::filesystem::copy_file(TESSEL_SVG_MODULE, inLibraryFolder);
    }
    dir.write("a.klx", svgIcon);
    dir.write("img/s_4x4.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'/>\n");
    RunResult run = RunTessel(dir, kConvert, bin + "/tessel");
    if (c.installed) {
      EXPECT_EQ(run.exit, 0) << run.out << run.err;
      EXPECT_TRUE(dir.exists("out/s&96.ico"));
      continue;
    }
    std::string text = "GeneralError: SVG renderer module missing or broken: " + besideProgram + " (";
    EXPECT_EQ(run.exit, 1) << c.name;  // an exit, not a signal
    EXPECT_EQ(run.out.rfind("\n\n" + text, 0), 0u) << c.name << ": " << run.out;
    EXPECT_NE(run.out.find(c.loaderText), std::string::npos) << c.name << ": " << run.out;
    EXPECT_EQ(run.err.rfind("Write_Error: " + text, 0), 0u) << c.name << ": " << run.err;
    EXPECT_EQ(run.out.find("also looked for " + inLibraryFolder) != std::string::npos, c.moduleSource.empty())
        << c.name << ": " << run.out;
    EXPECT_FALSE(dir.exists("out/a.rc")) << c.name;

    // Without SVG sources the same program needs no module.
    dir.write("a.klx", "'QICN' 1 \"P\" {\r\n    \"p\"\r\n}\r\n");
    SmallPng(dir, "img/p.png");
    EXPECT_EQ(RunTessel(dir, kConvert, bin + "/tessel").exit, 0) << c.name;
  }
}
