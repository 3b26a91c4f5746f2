#include "prepkit/Prepkit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "TestSupport.h"
#include "prepkit/PrepkitTestSupport.h"

using prepkittest::Bytes;
using prepkittest::LE32;
using prepkittest::MakeBmp;
using prepkittest::PutLE;

namespace {

struct Outcome {
  int exit;
  std::string out;
};

class Prepkit : public ::testing::Test {
 protected:
  // Runs the utility with the program name "tessel" and the given arguments.
  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), "tessel");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    testing::internal::CaptureStdout();
    const int exit = tessel::PrepkitMain(static_cast<int>(args.size()), argv.data());
    return {exit, testing::internal::GetCapturedStdout()};
  }
  // Writes the input, runs the switch on it and expects success without messages.
  std::string Convert(const std::string& sw, const std::string& input) {
    dir.write("in", input);
    std::vector<std::string> args = {in, out};
    if (!sw.empty()) args.insert(args.begin(), sw);
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exit, 0) << sw;
    EXPECT_EQ(outcome.out, "") << sw;
    return dir.read("out");
  }
  static std::string Error(const std::string& message) { return "\nERROR: " + message + " !\n"; }
  static std::string Warning(const std::string& message) { return "\nWarning: " + message + " !\n"; }

  testsupport::TempDir dir;
  std::string in = dir.file("in");
  std::string out = dir.file("out");
};

// The 24-byte picture header with its four corners and draw mode.
std::string PictureHeader(int y1, int x1, int y2, int x2, int drawMode) {
  std::string h(24, '\0');
  PutLE(h, 0, 0xFE0C0000);
  PutLE(h, 4, static_cast<uint32_t>(y1), 2);
  PutLE(h, 6, static_cast<uint32_t>(x1), 2);
  PutLE(h, 8, static_cast<uint32_t>(y2), 2);
  PutLE(h, 10, static_cast<uint32_t>(x2), 2);
  PutLE(h, 16, static_cast<uint32_t>(drawMode & 0xFC), 2);
  return h;
}

}  // namespace

TEST_F(Prepkit, TextAndDataConversions) {
  struct Case {
    const char* sw;
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"", "AB", Bytes({2, 0, 0, 0, 0x41, 0x42})},
      {"/D", "AB", Bytes({2, 0, 0, 0, 0x41, 0x42})},
      {"/d", Bytes({0, 0xFF, 0x1A}), Bytes({3, 0, 0, 0, 0, 0xFF, 0x1A})},
      {"/M", "AB", Bytes({2, 0, 0, 0, 0xBE, 0xBD})},
      {"-m", Bytes({0, 0xFF}), Bytes({2, 0, 0, 0, 0xFF, 0})},
      {"/C", Bytes({2, 0, 0, 0, 0xBE, 0xBD}), Bytes({2, 0, 0, 0, 0x41, 0x42})},
      {"/C", Bytes({0, 0, 0, 0}), Bytes({0, 0, 0, 0})},
      {"/Z", Bytes({0x61, 0x0D, 0x0A, 0x62, 0x0D}), Bytes({0x61, 0x0D, 0x0A, 0x62, 0x0D, 0x0A})},
      {"/Z", "a\nb\n\rc\r\rd\n\ne", "a\r\nb\r\nc\r\n\r\nd\r\n\r\ne"},
      {"/z",
       "a\r\n\r\nb\x1A"
       "c\r\n",
       "a\r\n\r\nb"},
      {"/Z",
       "\x1A"
       "abc",
       ""},
      {"/Z", "\r\x1A", "\r\n"},
      {"/S10-20", "0123456789abcdefghijklmnopqrstuvwxyz", "abcdefghij"},
      {"/S10-20", "0123456789abcde", "abcde"},
      {"/S0-3", "0123456789", "012"},
      {"/S5-5", "0123456789", ""},
      {"/S8-2", "0123456789", ""},
      {"/S40-50", "0123456789", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Convert(c.sw, c.input), c.expected) << c.sw << " on " << c.input;
}

TEST_F(Prepkit, ReplacesAnExistingOutput) {
  dir.write("out", "old content that is longer");
  EXPECT_EQ(Convert("/D", "x"), Bytes({1, 0, 0, 0, 'x'}));
}

TEST_F(Prepkit, LastSwitchCounts) {
  dir.write("in", "AB");
  EXPECT_EQ(Run({"/M", "/S0-1", "-D", in, out}).exit, 0);
  EXPECT_EQ(dir.read("out"), Bytes({2, 0, 0, 0, 0x41, 0x42}));
}

TEST_F(Prepkit, MarksCreatorAndType) {
  std::string input;
  for (int i = 0; i < 100; ++i) input.push_back(static_cast<char>(i + 1));
  PutLE(input, 32, 0);
  PutLE(input, 36, 0);
  PutLE(input, 40, 0);
  std::string expected = input;
  expected.replace(28, 4, Bytes({0x4A, 0x4D, 0x11, 0x93}));
  expected.replace(44, 8, "dcbaTXET");
  EXPECT_EQ(Convert("/Rabcd-TEXT", input), expected);

  // Data fields that are not empty are reported, and the file is still written.
  input[37] = 1;
  expected[37] = 1;
  dir.write("in", input);
  const Outcome outcome = Run({"/Rabcd-TEXT", in, out});
  EXPECT_EQ(outcome.exit, 0);
  EXPECT_EQ(outcome.out, Warning("Nonempty Data fields found"));
  EXPECT_EQ(dir.read("out"), expected);
}

TEST_F(Prepkit, MarkCopiesLargeFilesWhole) {
  std::string input(2 * 786432 + 1000, '\0');
  for (size_t i = 64; i < input.size(); ++i) input[i] = static_cast<char>(i * 7);
  const std::string result = Convert("/Rabcd-TEXT", input);
  ASSERT_EQ(result.size(), input.size());
  EXPECT_EQ(result.substr(64), input.substr(64));
}

TEST_F(Prepkit, PictureWithoutCompression) {
  const std::string bmp = "BM" + std::string(12, 'h') + "DIB data";
  EXPECT_EQ(Convert("/B{1,2,-3,4,65534}", bmp), LE32(8 + 24) + PictureHeader(1, 2, -3, 4, 65534) + "DIB data");

  // A file shorter than its 14-byte header: nothing to copy, reported, and the count stays true.
  dir.write("in", "BM12");
  const Outcome outcome = Run({"/B{0,0,32,32,0}", in, out});
  EXPECT_EQ(outcome.exit, 0);
  EXPECT_EQ(outcome.out, Warning("Bitmap length mismatch: too few data"));
  EXPECT_EQ(dir.read("out"), LE32(24) + PictureHeader(0, 0, 32, 32, 0));
}

TEST_F(Prepkit, PictureWithRle8) {
  // Two rows of 16 pixels: a run of 0 (transparent below) and a run of 5; then literal pixels.
  std::string pixels =
      std::string(8, '\0') + std::string(8, '\5') + Bytes({1, 2, 3, 4, 5, 6, 7, 8}) + std::string(8, '\0');
  const std::string bmp = MakeBmp(16, 2, 8, 2, Bytes({0, 0, 0, 0, 255, 255, 255, 0}), pixels);
  const std::string plainImage = Bytes({8, 0, 8, 5, 0, 0, 0, 6, 1, 2, 3, 4, 5, 6, 1, 7, 1, 8, 8, 0, 0, 0, 0, 1});
  const std::string clearImage =
      Bytes({0, 2, 8, 0, 8, 5, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 1, 6, 1, 7, 1, 8, 0, 2, 8, 0, 0, 0, 0, 1});
  struct Case {
    const char* sw;
    int drawMode;
    std::string image;
  };
  const Case cases[] = {
      {"/B{10,20,30,40,1}", 1, plainImage},
      {"/B{10,20,30,40,5}", 5, plainImage},        // bit 1 clear: no transparency
      {"/B{10,20,30,40,3}", 3, clearImage},        // transparent index 0
      {"/B{10,20,30,40,2307}", 2307, plainImage},  // transparent index 9 is not in the picture
  };
  for (const Case& c : cases) {
    std::string dib = bmp.substr(14, 40 + 8) + c.image;
    PutLE(dib, 30 - 14, 1);
    PutLE(dib, 34 - 14, static_cast<uint32_t>(c.image.size()));
    EXPECT_EQ(Convert(c.sw, bmp),
              LE32(static_cast<uint32_t>(dib.size() + 24)) + PictureHeader(10, 20, 30, 40, c.drawMode) + dib)
        << c.sw;
  }
}

TEST_F(Prepkit, Palette) {
  const std::string bmp = MakeBmp(4, 1, 1, 2, Bytes({0x01, 0x02, 0xAB, 0, 0xFF, 0x80, 0x00, 9}), std::string(4, '\0'));
  std::string expected = LE32(2 * 16 + 20) + LE32(0) + Bytes({2, 0}) + std::string(14, '\0');
  expected += Bytes({0xAB, 0xAB, 0x02, 0x02, 0x01, 0x01, 2, 0}) + std::string(8, '\0');
  expected += Bytes({0x00, 0x00, 0x80, 0x80, 0xFF, 0xFF, 2, 0}) + std::string(8, '\0');
  EXPECT_EQ(Convert("/P", bmp), expected);
}

TEST_F(Prepkit, PaletteOfAllColoursWhenTheUsedCountIsZero) {
  std::string palette;
  for (int i = 0; i < 256; ++i) palette += Bytes({i, 0, 255 - i, 0});
  const std::string result = Convert("/p", MakeBmp(4, 1, 8, 0, palette, std::string(4, '\0')));
  ASSERT_EQ(result.size(), 24u + 256 * 16);
  EXPECT_EQ(result.substr(0, 4), LE32(256 * 16 + 20));
  EXPECT_EQ(result.substr(8, 2), Bytes({0, 1}));
  EXPECT_EQ(result.substr(24 + 255 * 16, 16), Bytes({0, 0, 0, 0, 0xFF, 0xFF, 2, 0}) + std::string(8, '\0'));
}

TEST_F(Prepkit, PaletteAfterALargerInformationHeader) {
  // A 124-byte information header: the palette follows it.
  std::string bmp = MakeBmp(4, 1, 1, 1, std::string(84, '\0') + Bytes({3, 2, 1, 0}), std::string(4, '\0'));
  PutLE(bmp, 14, 124);
  const std::string result = Convert("/P", bmp);
  EXPECT_EQ(result.substr(24, 8), Bytes({1, 1, 2, 2, 3, 3, 2, 0}));
}

TEST_F(Prepkit, UsageAndHelp) {
  const std::string usage =
      "\n Useage:\n tessel [switch] inputfile outputfile\n[switch]-es:         /?,/H - for more detailed help.\n";
  dir.write("in", "x");
  const std::vector<std::vector<std::string>> usageCases = {
      {}, {in}, {"/D", in}, {in, out, "third"}, {"/D", "/M"},
  };
  for (const auto& args : usageCases) {
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exit, 4) << args.size();
    EXPECT_EQ(outcome.out, usage);
  }
  // A switch after the first name is a name.
  EXPECT_EQ(Run({in, "/D", out}).exit, 4);
  // The help switches convert nothing; the caller shows its usage text.
  for (const char* sw : {"/?", "-h", "/H"}) {
    const Outcome outcome = Run({sw, in, out});
    EXPECT_EQ(outcome.exit, 1) << sw;
    EXPECT_EQ(outcome.out, "") << sw;
    EXPECT_FALSE(dir.exists("out"));
  }
  EXPECT_EQ(Run({"/?"}).exit, 1);
}

TEST_F(Prepkit, ArgumentErrors) {
  dir.write("in", "x");
  struct Case {
    std::string sw;
    std::string message;
  };
  const Case cases[] = {
      {"/Q", "'/Q' Unknown switch."},
      {"-Xyz", "'-Xyz' Unknown switch."},
      {"/Rab-TEXT", "Bad CREATOR or TYPE parameters."},
      {"/S1", "Bad offset parameters."},
      {"/B{1,2,3,4}", "Bad Picture parameters."},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Run({c.sw, in, out});
    EXPECT_EQ(outcome.exit, 3) << c.sw;
    EXPECT_EQ(outcome.out, Error(c.message)) << c.sw;
    EXPECT_FALSE(dir.exists("out"));
  }
}

TEST_F(Prepkit, RefusesTheInputAsOutput) {
  dir.write("in", "precious");
  ASSERT_EQ(::link(in.c_str(), dir.file("hard").c_str()), 0);
  const std::string sameFileNames[][2] = {
      {in, in}, {in, dir.path() + "/./in"}, {in, dir.file("hard")}, {dir.path() + "\\in", in}};
  for (const auto& names : sameFileNames) {
    for (const char* sw : {"/D", "/P", "/Rabcd-TEXT", "/B{0,0,1,1,1}"}) {
      const Outcome outcome = Run({sw, names[0], names[1]});
      EXPECT_EQ(outcome.exit, 3) << names[1];
      EXPECT_EQ(outcome.out, Error("can't use the same name '" + names[1] + "'")) << names[1];
      EXPECT_EQ(dir.read("in"), "precious");
    }
  }
}

TEST_F(Prepkit, FileErrors) {
  dir.write("empty", "");
  dir.write("three", "abc");
  dir.write("short64", std::string(64, 'x'));
  dir.write("badcount", Bytes({3, 0, 0, 0, 1, 2}));
  ::mkdir(dir.file("folder").c_str(), 0777);
  const std::string missing = dir.file("missing");
  const std::string noDir = dir.file("no/such/dir/out");
  struct Case {
    const char* sw;
    std::string input;
    std::string output;
    std::string message;
  };
  const Case cases[] = {
      {"/D", missing, out, "_open for _read the file '" + missing + "'"},
      {"/Z", dir.file("folder"), out, "_open for _read the file '" + dir.file("folder") + "'"},
      {"/S1-2", dir.file("three"), noDir, "_open for _write the file '" + noDir + "'"},
      {"/D", dir.file("empty"), out, "Empty file"},
      {"/M", dir.file("empty"), out, "Empty file"},
      {"/C", dir.file("empty"), out, "Empty file"},
      {"/C", dir.file("three"), out, "Read Pict file size"},
      {"/C", dir.file("badcount"), out, "Bad Pict file size"},
      {"/Rabcd-TEXT", missing, out, "_open for _read the file '" + missing + "'"},
      {"/Rabcd-TEXT", dir.file("short64"), out, "Seek Error at " + dir.file("short64") + " File"},
      {"/Rabcd-TEXT", dir.file("folder"), out, "_open for _read the file '" + dir.file("folder") + "'"},
      {"/B{0,0,1,1,0}", missing, out, "_open for _read the file '" + missing + "'"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Run({c.sw, c.input, c.output});
    EXPECT_EQ(outcome.exit, 3) << c.sw << " " << c.input;
    EXPECT_EQ(outcome.out, Error(c.message)) << c.sw << " " << c.input;
    EXPECT_FALSE(dir.exists("out")) << c.sw << " " << c.input;  // nothing half-written is left
  }
  dir.write("long", std::string(100, 'x'));
  const Outcome outcome = Run({"/Rabcd-TEXT", dir.file("long"), noDir});
  EXPECT_EQ(outcome.out, Error("Can not create File"));
}

TEST_F(Prepkit, RefusesBadBitmaps) {
  const std::string good = MakeBmp(8, 2, 8, 1, std::string(4, '\0'), std::string(16, '\0'));
  std::string lyingSize = good;
  PutLE(lyingSize, 2, 10000);
  std::string smallSize = good;
  PutLE(smallSize, 2, 58);
  std::string manyColours = good;
  PutLE(manyColours, 46, 0x40000000);
  std::string trueColour = good;
  PutLE(trueColour, 46, 0);
  PutLE(trueColour, 28, 24, 2);
  std::string tallImage = good;
  PutLE(tallImage, 22, 0x7FFFFFFF);
  std::string coreHeader = good;
  PutLE(coreHeader, 14, 12);
  struct Case {
    const char* name;
    std::string bmp;
    bool compress;  // the RLE8 picture switch refuses it
    bool palette;   // the palette switch refuses it
  };
  const Case cases[] = {
      {"empty", "", true, true},
      {"a few bytes", "BM123", true, true},
      {"header only", good.substr(0, 14), true, true},
      {"not BM", "XY" + good.substr(2), true, true},
      {"truncated", good.substr(0, 60), true, true},
      {"size field beyond the file", lyingSize, false, true},
      {"size field 58", smallSize, false, true},
      {"colour count beyond the file", manyColours, true, true},
      {"24 bits", trueColour, true, true},
      {"height beyond the file", tallImage, true, false},
      {"12-byte information header", coreHeader, true, true},
  };
  for (const Case& c : cases) {
    dir.write("in", c.bmp);
    Outcome outcome = Run({"/B{0,0,8,2,1}", in, out});
    if (c.compress) {
      EXPECT_EQ(outcome.exit, 3) << c.name;
      EXPECT_EQ(outcome.out, Error("RLE8 Conversion at file '" + in + "'")) << c.name;
    } else {
      EXPECT_EQ(outcome.exit, 0) << c.name;
    }
    std::remove(out.c_str());
    outcome = Run({"/P", in, out});
    if (c.palette) {
      EXPECT_EQ(outcome.exit, 3) << c.name;
      EXPECT_EQ(outcome.out, Error("pltt Extraction at file '" + in + "'")) << c.name;
      EXPECT_FALSE(dir.exists("out")) << c.name;
    } else {
      EXPECT_EQ(outcome.exit, 0) << c.name;
    }
    std::remove(out.c_str());
  }
}

TEST_F(Prepkit, Rle8LargerThanTheBitmap) {
  // Three different pixels take eight bytes as runs, the row four bytes.
  const std::string bmp = MakeBmp(3, 1, 8, 4, std::string(16, '\0'), Bytes({1, 2, 3, 0}));
  dir.write("in", bmp);
  dir.write("out", "old");
  const Outcome outcome = Run({"/B{0,0,1,3,1}", in, out});
  EXPECT_EQ(outcome.exit, 3);
  EXPECT_EQ(outcome.out, Error(" RLE8 - Warning: OldFileSize = 74\nNewFileSize = 80"));
  EXPECT_EQ(dir.read("out"), "old");
}

TEST_F(Prepkit, DevicesAsOutput) {
  dir.write("in", "AB" + std::string(100, '\0'));
  // A device is written to, never removed.
  EXPECT_EQ(Run({"/D", in, "/dev/null"}).exit, 0);
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));
  for (const char* sw : {"/D", "/Z", "/S0-50", "/B{0,0,1,1,0}", "/Rabcd-TEXT"}) {
    const Outcome outcome = Run({sw, in, "/dev/full"});
    EXPECT_EQ(outcome.exit, 3) << sw;
    EXPECT_EQ(outcome.out, Error("Write Error at /dev/full File")) << sw;
  }
  dir.write("in", MakeBmp(4, 1, 8, 1, std::string(4, '\0'), std::string(4, '\0')));
  EXPECT_EQ(Run({"/P", in, "/dev/full"}).out, Error("Write Error at /dev/full File"));
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}
