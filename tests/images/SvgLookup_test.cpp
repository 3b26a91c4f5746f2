#include "images/SvgLookup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "platform/Platform.h"

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
  tessel::SvgSourceIndex index;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(tessel::FindSVG(index, dir.path(), "arrow", found));
  EXPECT_EQ(found, "Arrow_16x16.svg");
  EXPECT_FALSE(tessel::FindSVG(index, dir.path(), "cross", found));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SvgLookup, UnreadableDirectoryIsWarnedAbout) {
  testsupport::TempDir dir;
  std::string found;
  tessel::SvgSourceIndex index;
  for (std::string missing : {dir.file("missing"), std::string()}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tessel::FindSVG(index, missing, "arrow", found));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "# WARNING: FindSVG could not read the input directory " + missing + "\n");
  }
}

namespace {

// The answer of a fresh listing: the first entry in name order that MatchSVGName accepts.
std::string FreshFind(const std::string& dir, const std::string& base) {
  for (const std::string& name : platform::ListDirectory(dir)) {
    if (tessel::MatchSVGName(name, base, nullptr, nullptr)) return name;
  }
  return "";
}

std::string IndexFind(tessel::SvgSourceIndex& index, const std::string& dir, const std::string& base) {
  std::string found;
  return index.Find(dir, base, found) == tessel::SvgSourceIndex::Result::found ? found : "";
}

// Names at the edges of the matching rules: letter case, blanks that the scan skips, words
// after the extension, signs, bytes above 127 and files that are no SVG sources at all.
const char* const kTrickyNames[] = {"arrow_16x16.svg",
                                    "Arrow_8x8.SVG",
                                    "ARROW_1x1.svg",
                                    "arrow_16x16.svg.bak",
                                    "arrow-16x16.svg",
                                    "arrow_16x16.svg x",
                                    "arrow_2x2. svg",
                                    "arrow_ 3x4.svg",
                                    "arrow_+3x4.svg",
                                    "a  _1x1.svg",
                                    "arrow.png",
                                    "arrows_4x4.svg",
                                    "b_1x1.svg",
                                    "x_4x4.svg y_4x4.svg",
                                    "x_4x4.svg y.png",
                                    "\xc3\xa9_1x1.svg",
                                    "Zeta_1x1.svg",
                                    "zeta_1x1.svg",
                                    "svg",
                                    "_1x1.svg"};
const char* const kBases[] = {"arrow",       "ARROW", "Arrow", "a",    "a ",       "arrows",      "x",
                              "x_4x4.svg y", "b",     "",      "zeta", "\xc3\xa9", "ARROW_16x16", "nothing"};

}  // namespace

TEST(SvgLookup, IndexAnswersAsAFreshListing) {
  testsupport::TempDir dir;
  for (const char* name : kTrickyNames) dir.write(name, "");
  tessel::SvgSourceIndex index;
  auto compareAll = [&](const std::string& step) {
    for (const char* base : kBases)
      EXPECT_EQ(IndexFind(index, dir.path(), base), FreshFind(dir.path(), base)) << step << ": " << base;
  };
  compareAll("first listing");

  // The run's own writes and deletions, reported under the directory's name or another one.
  const std::string alias = dir.path() + "/./sub/..";
  std::filesystem::create_directories(dir.file("sub"));
  struct Change {
    std::string path;
    bool create;
  };
  const Change changes[] = {{dir.file("ARROW_0x0.svg"), true},      {dir.file("arrow_16x16.svg"), false},
                            {alias + "/Arrow_8x8.SVG", false},      {alias + "/Arrow_7x7.svg", true},
                            {dir.file("x_4x4.svg y&96.ico"), true}, {dir.file("b_1x1.svg"), false},
                            {dir.file("a_1x1.svg\ttab"), true}};
  for (const Change& c : changes) {
    if (c.create) {
      testsupport::WriteFile(c.path, "");
    } else {
      std::filesystem::remove(c.path);
    }
    index.Changed(c.path);
    compareAll(c.path);
  }

  // A change the run does not report is not seen: the directory was read once.
  dir.write("ARROW_0x0. svg", "");  // sorts before ARROW_0x0.svg and matches
  EXPECT_EQ(FreshFind(dir.path(), "arrow"), "ARROW_0x0. svg");
  EXPECT_EQ(IndexFind(index, dir.path(), "arrow"), "ARROW_0x0.svg");
  index.Changed(dir.file("ARROW_0x0. svg"));
  compareAll("after a late report");
}
