#include "images/SvgLookup.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

TEST(SvgLookup, MatchSVGName) {
  struct Case {
    const char* file;
    const char* base;
    bool match;
    int width, height;
  };
  const Case cases[] = {
      {"arrow_16x16.svg", "arrow", true, 16, 16},
      {"Arrow_16x16.SVG", "arrow", true, 16, 16},
      {"arrow_24x12.Svg", "ARROW", true, 24, 12},
      {"a%d%s_8x9.svg", "A%D%S", true, 8, 9},  // the base is never read as a conversion
      {"arrow_-4x16.svg", "arrow", true, -4, 16},
      {"arrow_16x16.svg.bak", "arrow", false, 0, 0},
      {"arrow-16x16.svg", "arrow", false, 0, 0},
      {"arrow_16x16.png", "arrow", false, 0, 0},
      {"arrows_16x16.svg", "arrow", false, 0, 0},
      {"arrow_16x.svg", "arrow", false, 0, 0},
      {"arrow_16x16.", "arrow", false, 0, 0},
      {"arrow_99999999999x16.svg", "arrow", false, 0, 0},
      {"arr", "arrow", false, 0, 0},
  };
  for (const auto& c : cases) {
    int w = 0, h = 0;
    EXPECT_EQ(tessel::MatchSVGName(c.file, c.base, &w, &h), c.match) << c.file;
    EXPECT_EQ(w, c.width) << c.file;
    EXPECT_EQ(h, c.height) << c.file;
  }
  EXPECT_TRUE(tessel::MatchSVGName("arrow_16x16.svg", "arrow", nullptr, nullptr));
}

TEST(SvgLookup, FindSVGTakesTheFirstMatchInNameOrder) {
  testsupport::TempDir dir;
  for (const char* name : {"b_1x1.svg", "arrow_32x32.svg", "Arrow_16x16.svg", "arrow.png", "arrow_8x8.svg.bak"})
    dir.write(name, "");
  std::string found;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(tessel::FindSVG(dir.path(), "arrow", found));
  EXPECT_EQ(found, "Arrow_16x16.svg");
  EXPECT_FALSE(tessel::FindSVG(dir.path(), "cross", found));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SvgLookup, UnreadableDirectoryIsWarnedAbout) {
  testsupport::TempDir dir;
  std::string found;
  for (std::string missing : {dir.file("missing"), std::string()}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tessel::FindSVG(missing, "arrow", found));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "# WARNING: FindSVG could not read the input directory " + missing + "\n");
  }
}
