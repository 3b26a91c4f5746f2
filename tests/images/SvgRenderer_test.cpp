#include "images/SvgRenderer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "TestSupport.h"
#include "images/PngReader.h"
#include "images/SvgLookup.h"
#include "images/SvgModule.h"

namespace {

// Left half red, right half blue, in the SVG's own size.
std::string TwoColourSvg(int width, int height) {
  std::string w = std::to_string(width), h = std::to_string(height), half = std::to_string(width / 2.0);
  return "<svg xmlns='http://www.w3.org/2000/svg' width='" + w + "' height='" + h + "'>" + "<rect x='0' y='0' width='" +
         half + "' height='" + h + "' fill='#ff0000'/>" + "<rect x='" + half + "' y='0' width='" + half + "' height='" +
         h + "' fill='#0000ff'/></svg>\n";
}

uint32_t PixelAt(const tessel::PngImage& image, uint32_t x, uint32_t y) {
  return image.pixels.at(static_cast<size_t>(image.height - 1 - y) * image.width + x);
}

constexpr const char* kPlainProgram = "/usr/local/bin/tessel";

// A rendering with the module of this build, as a fresh run makes it.
template <typename... Args>
bool ConvertSVGToPNG(Args&&... args) {
  tessel::ErrorContext errors;
  tessel::SvgRendererModule renderer(errors, {TESSEL_SVG_MODULE});
  tessel::SvgSourceIndex sources;
  return tessel::ConvertSVGToPNG(renderer, sources, std::forward<Args>(args)...);
}

// A tool installation: <root>/Tessel/bin/tessel, the editor folder two levels above the root
// and, unless told otherwise, a stand-in interpreter at <root>/../Perl/bin/perl that logs its
// working directory and arguments and turns red into green.
struct ToolTree {
  testsupport::TempDir dir;
  std::string root = dir.file("a/b/");
  std::string program = root + "Tessel/bin/tessel";
  std::string editor = dir.file("Common/QX/SVGEditor/");
  std::string log = dir.file("perl.log");

  explicit ToolTree(const std::string& interpreterBody = "sed 's/#ff0000/#00ff00/' \"$3\" > \"$4\"\n") {
    std::filesystem::create_directories(root + "Tessel/bin");
    testsupport::WriteFile(editor + "SVG_ColorChange_Win.conf", "red=green\n");
    testsupport::WriteFile(editor + "modifySVG.pl", "# stand-in\n");
    if (!interpreterBody.empty()) {
      std::string perl = dir.file("a/Perl/bin/perl");
      testsupport::WriteFile(
          perl, "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > '" + log + "'\n" + interpreterBody);
      std::filesystem::permissions(perl, std::filesystem::perms::owner_all);
    }
  }
};

}  // namespace

TEST(SvgRenderer, ToolRootIsThePathBeforeTheTesselFolder) {
  struct Case {
    const char* program;
    std::optional<std::string> root;
  };
  const Case cases[] = {
      {"/opt/b/Tessel/x64/tessel", "/opt/b/"},
      {"D:\\b\\Tessel\\x64\\tessel.exe", "D:\\b\\"},
      {"/a/Tessel/b/Tessel/tessel", "/a/"},
      {"Tessel/tessel", ""},
      {"./Tessel/tessel", "./"},
      {"/opt/tessel/bin/tessel", std::nullopt},
      {"/opt/Tessel2/tessel", std::nullopt},
      {"/opt/MyTessel/tessel", std::nullopt},
      {"/usr/bin/Tessel", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(tessel::ToolRoot(c.program), c.root) << c.program;
}

TEST(SvgRenderer, RenderedSizeIsTheTruncatedScaledSize) {
  testsupport::TempDir dir;
  dir.write("a.svg", TwoColourSvg(16, 16));
  dir.write("b.svg", TwoColourSvg(15, 15));
  struct Case {
    const char* svg;
    int size;
    float scale;
    uint32_t expected;
  };
  const Case cases[] = {{"a.svg", 16, 1.0f, 16},
                        {"a.svg", 16, 1.5f, 24},
                        {"a.svg", 16, 1.25f, 20},
                        {"a.svg", 16, 2.0f, 32},
                        {"b.svg", 15, 1.5f, 22}};
  for (const auto& c : cases) {
    ASSERT_TRUE(ConvertSVGToPNG(kPlainProgram, dir.file(c.svg), dir.file("out.png"), dir.path(), "a", c.scale, c.size,
                                c.size, 1))
        << c.svg << " " << c.scale;
    tessel::PngImage image = tessel::ReadPngImage(dir.file("out.png"));
    EXPECT_EQ(image.width, c.expected) << c.svg << " " << c.scale;
    EXPECT_EQ(image.height, c.expected) << c.svg << " " << c.scale;
  }
}

TEST(SvgRenderer, DrawingIsStretchedToTheNamedSize) {
  testsupport::TempDir dir;
  dir.write("wide.svg", TwoColourSvg(100, 50));
  ASSERT_TRUE(ConvertSVGToPNG(kPlainProgram, dir.file("wide.svg"), dir.file("out.png"), "", "wide", 1.0f, 16, 16, 1));
  tessel::PngImage image = tessel::ReadPngImage(dir.file("out.png"));
  ASSERT_EQ(image.width, 16u);
  ASSERT_EQ(image.height, 16u);
  // Filled from the top row to the bottom row: no letterbox.
  EXPECT_EQ(PixelAt(image, 1, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(image, 6, 15), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(image, 9, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(image, 14, 15), 0xFF0000FFu);
}

TEST(SvgRenderer, FailuresWriteNoPng) {
  testsupport::TempDir dir;
  dir.write("a.svg", TwoColourSvg(16, 16));
  dir.write("text.svg", "this is no svg\n");
  EXPECT_FALSE(ConvertSVGToPNG(kPlainProgram, dir.file("text.svg"), dir.file("1.png"), "", "t", 1.0f, 16, 16, 1));
  EXPECT_FALSE(ConvertSVGToPNG(kPlainProgram, dir.file("missing.svg"), dir.file("2.png"), "", "m", 1.0f, 16, 16, 1));
  EXPECT_FALSE(ConvertSVGToPNG(kPlainProgram, dir.file("a.svg"), dir.file("3.png"), "", "a", 1.0f, 0, 16, 1));
  EXPECT_FALSE(ConvertSVGToPNG(kPlainProgram, dir.file("a.svg"), dir.file("4.png"), "", "a", 1.5f, -16, 16, 1));
  EXPECT_FALSE(ConvertSVGToPNG(kPlainProgram, dir.file("a.svg"), dir.file("no/dir/5.png"), "", "a", 1.0f, 16, 16, 1));
  for (const char* png : {"1.png", "2.png", "3.png", "4.png"}) EXPECT_FALSE(dir.exists(png)) << png;
}

TEST(SvgRenderer, ColourChangeRunsTheScriptWithoutAShell) {
  ToolTree tools;
  std::string images = tools.dir.file("img dir;$(touch x)");
  std::string dest = tools.dir.file("out");
  std::filesystem::create_directories(images);
  std::filesystem::create_directories(dest);
  testsupport::WriteFile(images + "/it's.svg", TwoColourSvg(16, 16));

  ASSERT_TRUE(ConvertSVGToPNG(tools.program, images + "/it's.svg", dest + "/it.png", dest, "it", 1.5f, 16, 16, 1));
  tessel::PngImage image = tessel::ReadPngImage(dest + "/it.png");
  ASSERT_EQ(image.width, 24u);
  EXPECT_EQ(PixelAt(image, 2, 2), 0xFF00FF00u);  // recoloured by the script
  EXPECT_EQ(PixelAt(image, 20, 2), 0xFF0000FFu);

  std::string log = testsupport::ReadFile(tools.log);
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(log.substr(at, end - at));
  ASSERT_EQ(lines.size(), 6u) << log;
  EXPECT_EQ(std::filesystem::canonical(lines[0]), std::filesystem::canonical(tools.root));
  EXPECT_EQ(std::filesystem::weakly_canonical(lines[1]),
            std::filesystem::weakly_canonical(tools.editor + "modifySVG.pl"));
  EXPECT_EQ(lines[2], "SVG_ColorChange_Win.conf");
  EXPECT_EQ(lines[3], images + "/it's.svg");
  EXPECT_EQ(lines[4].rfind(dest + "/", 0), 0u) << lines[4];
  EXPECT_EQ(lines[4].substr(lines[4].size() - 4), ".svg");
  EXPECT_EQ(lines[5], "1.50");
  EXPECT_FALSE(std::filesystem::exists(lines[4]));  // the temporary SVG is gone
  EXPECT_FALSE(tools.dir.exists("x"));
  EXPECT_EQ(std::filesystem::directory_iterator(dest)->path().filename(), "it.png");
}

TEST(SvgRenderer, TemporarySvgWithoutDestinationIsNamedAfterTheSource) {
  ToolTree tools;
  testsupport::WriteFile(tools.dir.file("arrow_16x16.svg"), TwoColourSvg(16, 16));
  testsupport::WriteFile(tools.dir.file("arrow_16x16_2.00xTmp.svg"), "stale leftover");
  std::string saved = std::filesystem::current_path();
  ASSERT_EQ(chdir(tools.dir.path().c_str()), 0);
  bool rendered = ConvertSVGToPNG(tools.program, "arrow_16x16.svg", "arrow@2.00x.png", "", "arrow", 2.0f, 16, 16, 1);
  ASSERT_EQ(chdir(saved.c_str()), 0);
  ASSERT_TRUE(rendered);
  std::string log = testsupport::ReadFile(tools.log);
  EXPECT_NE(log.find("\n" + tools.dir.file("arrow_16x16_2.00xTmp.svg") + "\n"), std::string::npos) << log;
  EXPECT_FALSE(tools.dir.exists("arrow_16x16_2.00xTmp.svg"));
  EXPECT_EQ(PixelAt(tessel::ReadPngImage(tools.dir.file("arrow@2.00x.png")), 1, 1), 0xFF00FF00u);
}

TEST(SvgRenderer, NoColourChangeWithoutConfigurationScriptOrInstallation) {
  struct Case {
    const char* name;
    bool emptyConfig, removeConfig, removeScript, plainProgram;
    int scheme;
  };
  const Case cases[] = {{"empty config", true, false, false, false, 1},
                        {"no config", false, true, false, false, 1},
                        {"no script", false, false, true, false, 1},
                        {"no Tessel folder", false, false, false, true, 1},
                        {"dark mode config missing", false, false, false, false, 0}};
  for (const auto& c : cases) {
    ToolTree tools;
    if (c.emptyConfig) testsupport::WriteFile(tools.editor + "SVG_ColorChange_Win.conf", "");
    if (c.removeConfig) std::filesystem::remove(tools.editor + "SVG_ColorChange_Win.conf");
    if (c.removeScript) std::filesystem::remove(tools.editor + "modifySVG.pl");
    testsupport::WriteFile(tools.dir.file("s.svg"), TwoColourSvg(16, 16));
    ASSERT_TRUE(ConvertSVGToPNG(c.plainProgram ? kPlainProgram : tools.program, tools.dir.file("s.svg"),
                                tools.dir.file("s.png"), tools.dir.path(), "s", 1.0f, 16, 16, c.scheme))
        << c.name;
    EXPECT_FALSE(tools.dir.exists("perl.log")) << c.name;
    EXPECT_EQ(PixelAt(tessel::ReadPngImage(tools.dir.file("s.png")), 1, 1), 0xFFFF0000u) << c.name;
  }
}

TEST(SvgRenderer, ScriptThatWritesNothingStopsTheRendering) {
  ToolTree tools("exit 0\n");
  testsupport::WriteFile(tools.dir.file("s.svg"), TwoColourSvg(16, 16));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ConvertSVGToPNG(tools.program, tools.dir.file("s.svg"), tools.dir.file("s.png"), tools.dir.path(), "s",
                               1.0f, 16, 16, 1));
  std::string err = testing::internal::GetCapturedStderr();
  std::string prefix = "# WARNING: ModifySVG could not modify SVG (empty or bad svg): " + tools.dir.path() + "/tessel";
  EXPECT_EQ(err.rfind(prefix, 0), 0u) << err;
  EXPECT_EQ(err.substr(err.size() - 5), ".svg\n");
  EXPECT_FALSE(tools.dir.exists("s.png"));
}

TEST(SvgRenderer, PerlFromThePathRunsTheScriptWhenNoneIsBundled) {
  if (std::system("perl -e 1 > /dev/null 2>&1") != 0) GTEST_SKIP() << "perl is not installed";
  ToolTree tools("");
  testsupport::WriteFile(tools.editor + "modifySVG.pl",
                         "my ($conf, $in, $out, $scale) = @ARGV;\n"
                         "open(my $i, '<', $in) or die; open(my $o, '>', $out) or die;\n"
                         "while (<$i>) { s/#0000ff/#ffffff/g; print $o $_; }\n");
  testsupport::WriteFile(tools.dir.file("s.svg"), TwoColourSvg(16, 16));
  ASSERT_TRUE(ConvertSVGToPNG(tools.program, tools.dir.file("s.svg"), tools.dir.file("s.png"), tools.dir.path(), "s",
                              1.0f, 16, 16, 1));
  EXPECT_EQ(PixelAt(tessel::ReadPngImage(tools.dir.file("s.png")), 12, 1), 0xFFFFFFFFu);
}
