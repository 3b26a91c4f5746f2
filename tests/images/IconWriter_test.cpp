#include "images/IconWriter.h"

#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "TestSupport.h"

using imagetest::U16;
using imagetest::U32;

namespace {

std::string Hex(const std::string& spaced) {
  std::string bytes;
  for (size_t i = 0; i < spaced.size();) {
    if (spaced[i] == ' ') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(spaced.substr(i, 2), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// A small opaque PNG of the given size.
std::string MakePng(const testsupport::TempDir& dir, const std::string& name, uint32_t w, uint32_t h,
                    uint32_t argb = 0xFF336699) {
  imagetest::WritePng(dir.file(name), imagetest::Rgba(w, h, std::vector<uint32_t>(size_t{w} * h, argb)));
  return dir.file(name);
}

}  // namespace

TEST(PngIconWriter, OneImageIconHoldsThePngUnchanged) {
  testsupport::TempDir dir;
  std::string png = testsupport::ReadFile(MakePng(dir, "a.png", 5, 3));
  tessel::PngIconWriter writer;
  ASSERT_TRUE(writer.Create(1, dir.file("a.ico"), 1));
  ASSERT_TRUE(writer.AddImage(dir.file("a.png"), 0, 0));
  ASSERT_TRUE(writer.Finish());
  std::string expected =
      Hex("0000 0100 0100") + Hex("00 00 00 00 0000 0000") + std::string(4, '\0') + Hex("16000000") + png;
  expected[14] = static_cast<char>(png.size());
  expected[15] = static_cast<char>(png.size() >> 8);
  EXPECT_EQ(dir.read("a.ico"), expected);
  EXPECT_EQ(dir.read("a.ico").size(), 22 + png.size());
}

TEST(PngIconWriter, EntriesFollowTheOrderOfAdding) {
  testsupport::TempDir dir;
  std::string first = testsupport::ReadFile(MakePng(dir, "1.png", 4, 4));
  std::string second = testsupport::ReadFile(MakePng(dir, "2.png", 9, 9, 0x80FFFFFF));
  tessel::PngIconWriter writer;
  ASSERT_TRUE(writer.Create(2, dir.file("c.cur"), 2));
  ASSERT_TRUE(writer.AddImage(dir.file("1.png"), 3, 250));
  ASSERT_TRUE(writer.AddImage(dir.file("2.png"), 7, 1));
  ASSERT_TRUE(writer.Finish());
  std::string file = dir.read("c.cur");
  EXPECT_EQ(file.substr(0, 6), Hex("0000 0200 0200"));
  EXPECT_EQ(U16(file, 6 + 4), 3u);
  EXPECT_EQ(U16(file, 6 + 6), 250u);
  EXPECT_EQ(U32(file, 6 + 8), first.size());
  EXPECT_EQ(U32(file, 6 + 12), 38u);
  EXPECT_EQ(U16(file, 22 + 4), 7u);
  EXPECT_EQ(U32(file, 22 + 8), second.size());
  EXPECT_EQ(U32(file, 22 + 12), 38 + first.size());
  EXPECT_EQ(file.substr(38), first + second);
}

TEST(PngIconWriter, RefusalsAndFailures) {
  testsupport::TempDir dir;
  MakePng(dir, "ok.png", 2, 2);
  dir.write("text.png", "not a png at all, just text\n");

  testing::internal::CaptureStderr();
  {
    tessel::PngIconWriter writer;
    EXPECT_FALSE(writer.Create(1, dir.file("six.ico"), 6));
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "#ERROR: too many image representations\n");
  EXPECT_FALSE(dir.exists("six.ico"));

  testing::internal::CaptureStderr();
  {
    tessel::PngIconWriter writer;
    ASSERT_TRUE(writer.Create(1, dir.file("two.ico"), 1));
    EXPECT_TRUE(writer.AddImage(dir.file("ok.png"), 0, 0));
    EXPECT_FALSE(writer.AddImage(dir.file("ok.png"), 0, 0));
    EXPECT_TRUE(writer.Finish());
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "#ERROR: too many image representations\n");

  // Unreadable or undecodable images are refused, and the unfinished file goes away.
  for (const char* png : {"missing.png", "text.png"}) {
    testing::internal::CaptureStderr();
    {
      tessel::PngIconWriter writer;
      ASSERT_TRUE(writer.Create(1, dir.file("bad.ico"), 1));
      EXPECT_FALSE(writer.AddImage(dir.file(png), 0, 0)) << png;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << png;
    EXPECT_FALSE(dir.exists("bad.ico")) << png;
  }

  testing::internal::CaptureStderr();
  {
    tessel::PngIconWriter writer;
    ASSERT_TRUE(writer.Create(1, dir.file("none.ico"), 2));
    EXPECT_TRUE(writer.AddImage(dir.file("ok.png"), 0, 0));
    EXPECT_FALSE(writer.Finish());
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "#ERROR: not all image representations added\n");
  EXPECT_FALSE(dir.exists("none.ico"));

  tessel::PngIconWriter noFile;
  EXPECT_FALSE(noFile.Create(1, dir.file("no/such/dir/x.ico"), 1));
  EXPECT_FALSE(noFile.AddImage(dir.file("ok.png"), 0, 0));
  EXPECT_FALSE(noFile.Finish());
}

TEST(DibCursorBuilder, SmallCursorByteForByte) {
  testsupport::TempDir dir;
  imagetest::WritePng(dir.file("c.png"),
                      imagetest::Rgba(3, 2, {0xFFFF0000, 0xFE00FF00, 0x00000000, 0xFF0000FF, 0xFFFFFFFF, 0x00000000}));
  tessel::DibCursorBuilder builder(dir.file("c.cur"), true);
  ASSERT_TRUE(builder.AddRepresentation(dir.file("c.png"), 2, 1));
  ASSERT_TRUE(builder.Write());
  std::string expected =
      Hex("0000 0200 0100"
          "03 02 00 00 0200 0100 48000000 16000000"
          "28000000 03000000 04000000 0100 2000 00000000 00000000 00000000 00000000 00000000 00000000"
          "FF0000FF FFFFFFFF 00000000"  // bottom row first: blue, white, transparent
          "0000FFFF 00FF00FE 00000000"  // top row: red, green with alpha 254, transparent
          "20000000"                    // mask of the bottom row
          "60000000");                  // mask of the top row
  EXPECT_EQ(dir.read("c.cur"), expected);
  EXPECT_EQ(builder.Path(), dir.file("c.cur"));
}

TEST(DibCursorBuilder, SizesOffsetsAndMasks) {
  testsupport::TempDir dir;
  MakePng(dir, "32.png", 32, 32);
  std::vector<uint32_t> twenty(400, 0xFF000000);
  twenty[0] = 0x7F000000;  // top-left pixel half transparent
  imagetest::WritePng(dir.file("20.png"), imagetest::Rgba(20, 20, twenty));
  MakePng(dir, "256.png", 256, 256);

  tessel::DibCursorBuilder builder("unused.cur", true);
  ASSERT_TRUE(builder.AddRepresentation(dir.file("32.png"), 5, 6));
  ASSERT_TRUE(builder.AddRepresentation(dir.file("20.png"), 300, 1));
  ASSERT_TRUE(builder.AddRepresentation(dir.file("256.png"), 0, 0));
  std::string file = Bytes(builder.Build());

  const uint32_t size32 = 40 + 4 * (1024 + 32), size20 = 40 + 4 * (400 + 20), size256 = 40 + 4 * (65536 + 8 * 256);
  EXPECT_EQ(size32, 4264u);
  ASSERT_EQ(file.size(), 6 + 3 * 16 + size32 + size20 + size256);
  EXPECT_EQ(U16(file, 4), 3u);
  EXPECT_EQ(file.substr(6, 4), Hex("20 20 00 00"));
  EXPECT_EQ(U16(file, 10), 5u);
  EXPECT_EQ(U16(file, 12), 6u);
  EXPECT_EQ(U32(file, 14), size32);
  EXPECT_EQ(U32(file, 18), 54u);
  EXPECT_EQ(file.substr(22, 4), Hex("14 14 00 00"));
  EXPECT_EQ(U16(file, 26), 300u);
  EXPECT_EQ(U32(file, 30), size20);
  EXPECT_EQ(U32(file, 34), 54 + size32);
  EXPECT_EQ(file.substr(38, 4), Hex("00 00 00 00"));  // 256 written as 0
  EXPECT_EQ(U32(file, 50), 54 + size32 + size20);

  // 20 x 20: mask rows of 4 bytes, the padding bits and bytes clear; the half-transparent
  // top-left pixel is the first bit of the last mask row.
  size_t mask20 = 54 + size32 + 40 + 4 * 400;
  EXPECT_EQ(file.substr(mask20, 4), Hex("00 00 00 00"));
  EXPECT_EQ(file.substr(mask20 + 19 * 4, 4), Hex("80 00 00 00"));
  EXPECT_EQ(U32(file, 54 + size32 + 8), 40u);  // height counts colour and mask rows
}

TEST(DibCursorBuilder, IconFlagLimitAndFailures) {
  testsupport::TempDir dir;
  MakePng(dir, "a.png", 1, 1);
  dir.write("text.png", "text");

  tessel::DibCursorBuilder icon(dir.file("i.ico"), false);
  ASSERT_TRUE(icon.AddRepresentation(dir.file("a.png"), 9, 9));
  std::string file = Bytes(icon.Build());
  EXPECT_EQ(U16(file, 2), 1u);
  EXPECT_EQ(U32(file, 10), 0u);  // no hotspot without the cursor flag

  tessel::DibCursorBuilder cursor(dir.file("no/such/dir/c.cur"), true);
  EXPECT_FALSE(cursor.AddRepresentation(dir.file("text.png"), 0, 0));
  EXPECT_FALSE(cursor.AddRepresentation(dir.file("missing.png"), 0, 0));
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(cursor.AddRepresentation(dir.file("a.png"), 0, 0));
  EXPECT_FALSE(cursor.AddRepresentation(dir.file("a.png"), 0, 0));
  EXPECT_EQ(U16(Bytes(cursor.Build()), 4), 5u);
  EXPECT_FALSE(cursor.Write());
}

// icotool (icoutils) reads the files as an independent reader.
TEST(IconFiles, IcotoolListsSizesAndHotspots) {
  if (std::system("icotool --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "icotool is not installed";
  testsupport::TempDir dir;
  MakePng(dir, "16.png", 16, 16);
  MakePng(dir, "24.png", 24, 24, 0x40102030);
  {
    tessel::PngIconWriter icon;
    ASSERT_TRUE(icon.Create(1, dir.file("a.ico"), 1));
    ASSERT_TRUE(icon.AddImage(dir.file("24.png"), 0, 0));
    ASSERT_TRUE(icon.Finish());
  }
  tessel::DibCursorBuilder cursor(dir.file("c.cur"), true);
  ASSERT_TRUE(cursor.AddRepresentation(dir.file("16.png"), 7, 3));
  ASSERT_TRUE(cursor.AddRepresentation(dir.file("24.png"), 11, 5));
  ASSERT_TRUE(cursor.Write());

  std::string command = "icotool -l '" + dir.file("a.ico") + "' '" + dir.file("c.cur") + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string listing;
  char buf[256];
  while (size_t n = std::fread(buf, 1, sizeof buf, pipe)) listing.append(buf, n);
  EXPECT_EQ(pclose(pipe), 0) << listing;
  EXPECT_EQ(listing,
            "--icon --index=1 --width=24 --height=24 --bit-depth=32 --palette-size=0\n"
            "--cursor --index=1 --width=16 --height=16 --bit-depth=32 --palette-size=0 --hotspot-x=7 --hotspot-y=3\n"
            "--cursor --index=2 --width=24 --height=24 --bit-depth=32 --palette-size=0 --hotspot-x=11 "
            "--hotspot-y=5\n");
}
