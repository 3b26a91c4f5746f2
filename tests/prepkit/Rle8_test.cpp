#include "prepkit/Rle8.h"

#include <gtest/gtest.h>

#include "prepkit/PrepkitTestSupport.h"

using prepkittest::Bytes;
using prepkittest::LE32;
using prepkittest::MakeBmp;
using prepkittest::PutLE;
using tessel::prepkit::CompressBmp;
using tessel::prepkit::CompressRow;
using tessel::prepkit::Rle8Options;
using tessel::prepkit::Rle8Result;

namespace {

std::string Compress(const std::string& row, Rle8Options options = {}) {
  tessel::prepkit::Bytes out;
  CompressRow(std::span(reinterpret_cast<const uint8_t*>(row.data()), row.size()), options, out);
  return std::string(out.begin(), out.end());
}

std::string Sequence(size_t count, int modulo) {
  std::string s;
  for (size_t i = 0; i < count; ++i) s.push_back(static_cast<char>(i % static_cast<size_t>(modulo)));
  return s;
}

Rle8Result CompressFile(const std::string& bmp, Rle8Options options = {}) {
  return CompressBmp(std::span(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size()), options);
}

std::string Text(const tessel::prepkit::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(Rle8, RowRunStates) {
  const Rle8Options off;
  const Rle8Options zeroClear{true, 0};
  struct Case {
    const char* name;
    std::string row;
    Rle8Options options;
    std::string expected;
  };
  const Case cases[] = {
      {"a run longer than 255 is split", std::string(300, '\7'), off, Bytes({0xFF, 7, 0x2D, 7, 0, 0})},
      {"single pixel", Bytes({9}), off, Bytes({1, 9, 0, 0})},
      {"four different pixels make a literal run", Bytes({1, 2, 3, 4}), off, Bytes({0, 4, 1, 2, 3, 4, 0, 0})},
      // The literal takes a pixel only while four remain; the last three become runs of one.
      {"literal of five is padded to an even length", Bytes({1, 2, 3, 4, 5, 6, 7, 8}), off,
       Bytes({0, 5, 1, 2, 3, 4, 5, 0, 1, 6, 1, 7, 1, 8, 0, 0})},
      {"equal neighbours end the literal", Bytes({1, 2, 3, 4, 5, 6, 6, 6, 6}), off,
       Bytes({0, 4, 1, 2, 3, 4, 1, 5, 4, 6, 0, 0})},
      {"an equal pair opens an encoded run", Bytes({3, 3, 1, 2, 1, 2}), off, Bytes({2, 3, 0, 4, 1, 2, 1, 2, 0, 0})},
      {"three pixels left are runs", Bytes({1, 2, 3}), off, Bytes({1, 1, 1, 2, 1, 3, 0, 0})},
      {"literal without the transparent option", Bytes({1, 2, 3, 4, 5, 6, 7, 0, 9}), off,
       Bytes({0, 6, 1, 2, 3, 4, 5, 6, 1, 7, 1, 0, 1, 9, 0, 0})},
      {"a transparent index ahead closes the literal", Bytes({1, 2, 3, 4, 5, 6, 7, 0, 9}), zeroClear,
       Bytes({0, 4, 1, 2, 3, 4, 1, 5, 1, 6, 1, 7, 0, 2, 1, 0, 1, 9, 0, 0})},
      {"transparent runs become deltas", Bytes({5, 5, 0, 0, 0, 7}), zeroClear, Bytes({2, 5, 0, 2, 3, 0, 1, 7, 0, 0})},
      {"a transparent index blocks the opening literal", Bytes({1, 2, 3, 4, 0, 5, 6, 7, 8}), zeroClear,
       Bytes({0, 4, 1, 2, 3, 4, 0, 2, 1, 0, 0, 4, 5, 6, 7, 8, 0, 0})},
      {"a full transparent run", std::string(255, '\x80'), Rle8Options{true, 0x80}, Bytes({0, 2, 0xFF, 0, 0, 0})},
      {"other index with the transparent option", Bytes({4, 4}), Rle8Options{true, 0x80}, Bytes({2, 4, 0, 0})},
  };
  for (const Case& c : cases) EXPECT_EQ(Compress(c.row, c.options), c.expected) << c.name;
}

TEST(Rle8, LiteralRunStopsAt255) {
  // 260 pixels without equal neighbours: 255 literal pixels (padded), a literal of four, one run.
  const std::string row = Sequence(260, 3);
  std::string expected = Bytes({0, 0xFF}) + row.substr(0, 255) + Bytes({0}) + Bytes({0, 4}) + row.substr(255, 4) +
                         Bytes({1, row[259], 0, 0});
  EXPECT_EQ(Compress(row), expected);
}

TEST(Rle8, CompressesWholeFile) {
  // Two rows of width 5 (row size 8, the padding bytes must not be encoded), two colours.
  const std::string palette = Bytes({0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0});
  const std::string pixels = std::string(5, '\1') + Bytes({9, 9, 9}) + Bytes({0, 1, 0, 1, 1, 9, 9, 9});
  const std::string bmp = MakeBmp(5, 2, 8, 2, palette, pixels);
  const Rle8Result result = CompressFile(bmp);
  ASSERT_EQ(result.status, Rle8Result::Compressed);

  const std::string image = Bytes({5, 1, 0, 0, 0, 4, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1});
  std::string expected = bmp.substr(0, 54 + 8) + image;
  PutLE(expected, 2, static_cast<uint32_t>(expected.size()));
  PutLE(expected, 30, 1);
  PutLE(expected, 34, static_cast<uint32_t>(image.size()));
  EXPECT_EQ(Text(result.file), expected);
}

TEST(Rle8, UsedColourCountZeroMeans256) {
  const std::string palette(1024, '\x33');
  const std::string bmp = MakeBmp(8, 1, 8, 0, palette, std::string(8, '\2'));
  const Rle8Result result = CompressFile(bmp);
  ASSERT_EQ(result.status, Rle8Result::Compressed);
  EXPECT_EQ(Text(result.file).substr(46, 4), LE32(256));
  EXPECT_EQ(Text(result.file).substr(54), palette + Bytes({8, 2, 0, 0, 0, 1}));
}

TEST(Rle8, PixelsWhereTheFileHeaderPointsBeyondThePalette) {
  // A gap of four bytes between the palette and the pixels.
  std::string bmp = MakeBmp(8, 1, 8, 1, Bytes({1, 2, 3, 0}), Bytes({0x55, 0x55, 0x55, 0x55}) + std::string(8, '\6'));
  PutLE(bmp, 10, 54 + 4 + 4);
  const Rle8Result result = CompressFile(bmp);
  ASSERT_EQ(result.status, Rle8Result::Compressed);
  EXPECT_EQ(Text(result.file).substr(58), Bytes({8, 6, 0, 0, 0, 1}));
}

TEST(Rle8, LargerThanUncompressed) {
  const std::string bmp = MakeBmp(3, 1, 8, 4, std::string(16, '\0'), Bytes({1, 2, 3, 0}));
  const Rle8Result result = CompressFile(bmp);
  EXPECT_EQ(result.status, Rle8Result::Larger);
  EXPECT_EQ(result.newSize, 54u + 16 + 10);
}

TEST(Rle8, RefusesBadOrLyingFiles) {
  const std::string good = MakeBmp(8, 2, 8, 1, std::string(4, '\0'), std::string(16, '\0'));
  ASSERT_EQ(CompressFile(good).status, Rle8Result::Compressed);
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    int size;
  };
  const Case cases[] = {
      {"not BM", 0, 'X', 1},
      {"info header of 108 bytes", 14, 108, 4},
      {"width 0", 18, 0, 4},
      {"width beyond the file", 18, 0x7FFFFFFF, 4},
      {"negative width", 18, 0xFFFFFFFF, 4},
      {"top-down", 22, static_cast<uint32_t>(-2), 4},
      {"height beyond the file", 22, 3, 4},
      {"4 bits per pixel", 28, 4, 2},
      {"already compressed", 30, 1, 4},
      {"more than 256 colours", 46, 257, 4},
      {"palette beyond the file", 46, 200, 4},
      {"pixel offset beyond the file", 10, 0xFFFFFFF0, 4},
  };
  for (const Case& c : cases) {
    std::string bmp = good;
    PutLE(bmp, c.at, c.value, c.size);
    EXPECT_EQ(CompressFile(bmp).status, Rle8Result::Refused) << c.name;
  }
  for (size_t length : {0, 2, 14, 53, 54, 58, 65}) {
    EXPECT_EQ(CompressFile(good.substr(0, length)).status, Rle8Result::Refused) << length << " bytes";
  }
}
