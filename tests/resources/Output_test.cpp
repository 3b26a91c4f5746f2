#include "resources/Output.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "frontend/Lexer.h"

using tessel::ErrorContext;
using tessel::OutputWriter;

namespace {
// An output writer on a temporary file; text() returns what was written so far.
struct Sink {
  testsupport::TempDir dir;
  ErrorContext errors;
  OutputWriter out{errors};
  Sink() { out.SetOutput(std::fopen(dir.file("out.rc").c_str(), "wb+"), dir.file("out.rc")); }
  std::string text() {
    std::fflush(out.OutputFile());
    return dir.read("out.rc");
  }
};
}  // namespace

TEST(DataWords, BytesPairLittleEndianAndFlushQuotesTheOddByte) {
  Sink s;
  s.out.StartDataBlock(1);
  for (uint8_t b : {1, 2, 3}) s.out.WriteDataByte(b);
  s.out.FlushDataBytes();
  EXPECT_EQ(s.text(), "\t0x0201,\"\\x03\",\r\n");
}

TEST(DataWords, EightWordsToALine) {
  Sink s;
  s.out.StartDataBlock(2);
  for (int i = 0; i < 9; ++i) s.out.WriteDataWord(static_cast<uint16_t>(i));
  s.out.FlushDataBytes();
  EXPECT_EQ(s.text(),
            "\t\t0x0000,0x0001,0x0002,0x0003,0x0004,0x0005,0x0006,0x0007,\r\n"
            "\t\t0x0008,\r\n");
}

TEST(DataWords, ShortsLongsAndAnEmptyFlush) {
  Sink s;
  s.out.StartDataBlock(1);
  s.out.WriteDataShort(0x1234);
  s.out.WriteDataLong(0xAABBCCDD);
  s.out.FlushDataBytes();
  s.out.FlushDataBytes();  // nothing pending, column 1: nothing more
  EXPECT_EQ(s.text(), "\t0x1234,0xCCDD,0xAABB,\r\n");
}

TEST(DataWords, GuidFieldsAreStoredLowestByteFirst) {
  Sink s;
  s.out.StartDataBlock(1);
  EXPECT_TRUE(s.out.WriteGuidData("{00112233-4455-6677-8899-AABBCCDDEEFF}"));
  s.out.FlushDataBytes();
  EXPECT_EQ(s.text(),
            "\t0x0002,0x0001,0x2233,0x0011,0x4455,0x6677,0x9988,0xBBAA,\r\n"
            "\t0xDDCC,0xFFEE,\"\\x00\",\r\n");
}

TEST(DataWords, MalformedGuidsAreRefusedAndWriteNothing) {
  const char* bad[] = {"", "{0011-2233}", "0011223344556677889AABBCCDDEEFF", "00112233-4455-6677-8899-AABBCCDDEEFF0",
                       "0011223G-4455-6677-8899-AABBCCDDEEFF"};
  for (const char* text : bad) {
    Sink s;
    s.out.StartDataBlock(1);
    EXPECT_FALSE(s.out.WriteGuidData(text)) << text;
    EXPECT_FALSE(OutputWriter::IsGuidText(text)) << text;
    s.out.FlushDataBytes();
    EXPECT_EQ(s.text(), "") << text;
  }
  EXPECT_TRUE(OutputWriter::IsGuidText("00112233445566778899AABBCCDDEEFF}x"));
}

TEST(Output, SuspendedOrKeyExtractionWritesNothing) {
  Sink s;
  EXPECT_TRUE(s.out.SuspendOutput());
  s.out.WriteLine("hidden");
  EXPECT_FALSE(s.out.SetOutputEnabled(true));
  s.out.WriteLineBlank("#define A 1");
  s.out.SetKeyExtraction(true);
  s.out.WriteLine("hidden too");
  EXPECT_EQ(s.text(), "#define A 1\r\n\r\n");
}

TEST(Output, ResourceListIsNamedAfterTheOutput) {
  Sink s;
  s.out.ListResource("'STR#'", "128");
  s.out.ListResource(nullptr, "129");
  s.out.ListResource("'MDID'", "130");
  s.out.CloseResourceList();
  EXPECT_EQ(s.dir.read("out.reslist.txt"), "'STR#' 128\r\n'MDID' 130\r\n");
}
