#include "images/PngReader.h"

#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "TestSupport.h"

using imagetest::PngLayout;
using imagetest::WritePng;

namespace {

// Pixel (x, y) of the file, row 0 on top.
uint32_t PixelAt(const tessel::PngImage& image, uint32_t x, uint32_t y) {
  return image.pixels.at(static_cast<size_t>(image.height - 1 - y) * image.width + x);
}

}  // namespace

TEST(PngReader, RgbaRowsAreStoredBottomUpAsBgra) {
  testsupport::TempDir dir;
  // top: opaque red, half-transparent green; bottom: blue, transparent white
  WritePng(dir.file("a.png"), imagetest::Rgba(2, 2, {0xFFFF0000, 0x8000FF00, 0xFF0000FF, 0x00FFFFFF}));
  tessel::PngImage image = tessel::ReadPngImage(dir.file("a.png"));
  ASSERT_EQ(image.width, 2u);
  ASSERT_EQ(image.height, 2u);
  EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF0000FF, 0x00FFFFFF, 0xFFFF0000, 0x8000FF00}));
}

TEST(PngReader, EveryColourTypeGivesTheSamePixels) {
  testsupport::TempDir dir;
  // Each file shows, top row first: (10,20,30) opaque and (200,100,50) at the stated alpha.
  PngLayout rgba16;
  rgba16.width = 2;
  rgba16.bitDepth = 16;
  rgba16.rows = {{10, 1, 20, 2, 30, 3, 255, 4, 200, 5, 100, 6, 50, 7, 128, 8}};

  PngLayout rgb;
  rgb.width = 2;
  rgb.colorType = PNG_COLOR_TYPE_RGB;
  rgb.rows = {{10, 20, 30, 200, 100, 50}};

  PngLayout palette;
  palette.width = 2;
  palette.colorType = PNG_COLOR_TYPE_PALETTE;
  palette.palette = {{10, 20, 30}, {200, 100, 50}};
  palette.paletteAlpha = {255, 128};
  palette.rows = {{0, 1}};

  PngLayout palette2bit = palette;
  palette2bit.bitDepth = 2;
  palette2bit.rows = {{0x10}};  // indexes 0 and 1 in the high bits

  struct Case {
    const char* name;
    PngLayout layout;
    uint32_t second;
  };
  const Case cases[] = {
      {"rgba16", rgba16, 0x80C86432},
      {"rgb", rgb, 0xFFC86432},
      {"palette", palette, 0x80C86432},
      {"palette2bit", palette2bit, 0x80C86432},
  };
  for (const auto& c : cases) {
    WritePng(dir.file(std::string(c.name) + ".png"), c.layout);
    tessel::PngImage image = tessel::ReadPngImage(dir.file(std::string(c.name) + ".png"));
    ASSERT_EQ(image.width, 2u) << c.name;
    ASSERT_EQ(image.height, 1u) << c.name;
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF0A141E, c.second})) << c.name;
  }
}

TEST(PngReader, GreyIsExpandedToEqualColourBytes) {
  testsupport::TempDir dir;
  PngLayout greyAlpha;
  greyAlpha.width = 2;
  greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  greyAlpha.rows = {{0x40, 0xFF, 0xC0, 0x10}};
  PngLayout grey1;
  grey1.width = 3;
  grey1.colorType = PNG_COLOR_TYPE_GRAY;
  grey1.bitDepth = 1;
  grey1.rows = {{0xA0}};  // 1, 0, 1

  WritePng(dir.file("ga.png"), greyAlpha);
  WritePng(dir.file("g1.png"), grey1);
  EXPECT_EQ(tessel::ReadPngImage(dir.file("ga.png")).pixels, (std::vector<uint32_t>{0xFF404040, 0x10C0C0C0}));
  EXPECT_EQ(tessel::ReadPngImage(dir.file("g1.png")).pixels,
            (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));
}

TEST(PngReader, InterlacedImageIsDecodedWhole) {
  testsupport::TempDir dir;
  std::vector<uint32_t> argb;
  for (uint32_t i = 0; i < 9 * 9; ++i) argb.push_back(0xFF000000 | i * 0x010203);
  PngLayout layout = imagetest::Rgba(9, 9, argb);
  layout.interlaced = true;
  WritePng(dir.file("i.png"), layout);
  tessel::PngImage image = tessel::ReadPngImage(dir.file("i.png"));
  ASSERT_EQ(image.pixels.size(), 81u);
  for (uint32_t y = 0; y < 9; ++y)
    for (uint32_t x = 0; x < 9; ++x) EXPECT_EQ(PixelAt(image, x, y), argb[y * 9 + x]);
}

TEST(PngReader, UnreadableFilesGiveAnEmptyImage) {
  testsupport::TempDir dir;
  std::vector<uint32_t> argb(64 * 64, 0xFF123456);
  for (size_t i = 0; i < argb.size(); ++i) argb[i] ^= static_cast<uint32_t>(i * 2654435761u) & 0x00FFFFFF;
  WritePng(dir.file("good.png"), imagetest::Rgba(64, 64, argb));
  std::string good = dir.read("good.png");
  ASSERT_GT(good.size(), 200u);

  std::string badCrc = good;
  size_t idat = badCrc.find("IDAT");
  badCrc[idat + 20] = static_cast<char>(badCrc[idat + 20] ^ 0x55);

  dir.write("text.png", "this is not an image\n");
  dir.write("short.png", good.substr(0, 5));
  dir.write("signature-only.png", good.substr(0, 8));
  dir.write("truncated.png", good.substr(0, good.size() / 2));
  dir.write("bad-crc.png", badCrc);

  const char* names[] = {"missing.png", "text.png", "short.png", "signature-only.png", "truncated.png", "bad-crc.png"};
  for (const char* name : names) {
    testing::internal::CaptureStderr();
    tessel::PngImage image = tessel::ReadPngImage(dir.file(name));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(image.width, 0u) << name;
    EXPECT_EQ(image.height, 0u) << name;
    EXPECT_TRUE(image.pixels.empty()) << name;
    bool pngSignature = good.compare(0, 8, testsupport::ReadFile(dir.file(name)), 0, 8) == 0 &&
                        testsupport::ReadFile(dir.file(name)).size() >= 8;
    // Files with a valid signature get libpng's message; the others are refused silently.
    if (pngSignature)
      EXPECT_NE(err.find("libpng error"), std::string::npos) << name << ": " << err;
    else
      EXPECT_EQ(err, "") << name;
  }
  // The reader is still usable after an error.
  tessel::PngImage image = tessel::ReadPngImage(dir.file("good.png"));
  ASSERT_EQ(image.pixels.size(), argb.size());
  EXPECT_EQ(PixelAt(image, 5, 7), argb[7 * 64 + 5]);
}

TEST(PngReader, HeaderDeclaringMoreDataThanTheFileCanHoldIsRefused) {
  testsupport::TempDir dir;
  // 60000 x 60000 RGBA in a file of a few hundred bytes: refused before any row is allocated.
  const std::string ihdr{0, 0, '\xEA', 0x60, 0, 0, '\xEA', 0x60, 8, PNG_COLOR_TYPE_RGB_ALPHA, 0, 0, 0};
  dir.write("huge.png", std::string("\x89PNG\r\n\x1a\n", 8) + imagetest::PngChunk("IHDR", ihdr) +
                            imagetest::PngChunk("IDAT", std::string(200, '\0')) + imagetest::PngChunk("IEND", ""));
  tessel::PngImage image = tessel::ReadPngImage(dir.file("huge.png"));
  EXPECT_EQ(image.width, 0u);
  EXPECT_TRUE(image.pixels.empty());

  // A valid file that deflate shrank as far as it goes is still read.
  PngLayout blank;
  blank.width = blank.height = 1000;
  blank.rows.assign(1000, std::vector<uint8_t>(4000, 0));
  WritePng(dir.file("blank.png"), blank);
  image = tessel::ReadPngImage(dir.file("blank.png"));
  EXPECT_EQ(image.pixels.size(), 1000000u);
}
