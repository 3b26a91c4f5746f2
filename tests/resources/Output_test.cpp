#include "resources/Output.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "frontend/Lexer.h"

using tessel::ErrorContext;
using tessel::OutputTarget;
using tessel::OutputWriter;

namespace {
// An output writer with its script in memory; text() returns what was written so far.
struct Sink {
  testsupport::TempDir dir;
  ErrorContext errors;
  OutputWriter out{errors};
  Sink() { out.OpenMemoryOutput(dir.file("out.rc")); }
  std::string text() const { return std::string(out.Sink(OutputTarget::kScript).Text()); }
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

// A run of bytes is written as those bytes one at a time would be, from any place in a line,
// with a byte pending or not, at any indent, and across lines and the local buffer.
// Also while output is suspended, where only the column moves on for when it comes back.
TEST(DataWords, BytesInBulkAsOneAtATime) {
  for (bool suspended : {false, true}) {
    for (int indent : {1, 3, 16, 17}) {
      for (size_t before : {0u, 1u, 5u}) {
        for (size_t count : {0u, 1u, 2u, 15u, 16u, 17u, 1500u}) {
          SCOPED_TRACE(testing::Message() << (suspended ? "suspended, " : "") << "indent " << indent << ", " << before
                                          << " before, " << count);
          std::string bytes;
          for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * 37 + 11));
          Sink bulk, single;
          for (Sink* s : {&bulk, &single}) {
            s->out.StartDataBlock(indent);
            for (size_t i = 0; i < before; ++i) s->out.WriteDataByte(static_cast<uint8_t>(0xF0 + i));
            s->out.SetOutputEnabled(!suspended);
          }
          bulk.out.WriteDataBytes(bytes);
          for (char b : bytes) single.out.WriteDataByte(static_cast<uint8_t>(b));
          for (Sink* s : {&bulk, &single}) {
            s->out.SetOutputEnabled(true);
            for (int i = 0; i < 10; ++i) s->out.WriteDataByte(0xAA);
            s->out.FlushDataBytes();
          }
          EXPECT_EQ(bulk.text(), single.text());
        }
      }
    }
  }
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
  for (bool inMemory : {false, true}) {
    Sink s;
    if (!inMemory) {
      ASSERT_TRUE(s.out.OpenOutput(s.dir.file("out.rc")));
    }
    s.out.ListResource("'STR#'", "128");
    s.out.ListResource(nullptr, "129");
    s.out.ListResource("'MDID'", "130");
    EXPECT_TRUE(s.out.CloseResourceList());
    EXPECT_EQ(s.out.ResourceListName(), s.dir.file("out.reslist.txt"));
    const std::string expected = "'STR#' 128\r\n'MDID' 130\r\n";
    if (inMemory) {
      EXPECT_EQ(s.out.Sink(OutputTarget::kResourceList).Text(), expected);
      EXPECT_FALSE(s.dir.exists("out.reslist.txt"));
    } else {
      EXPECT_EQ(s.dir.read("out.reslist.txt"), expected);
    }
  }
}

// A fatal error drops the script and deletes the resource list; the anchor list keeps what was
// written, also what was still collected.
TEST(Output, DiscardDropsScriptAndListButTheAnchorListIsKept) {
  Sink s;
  ASSERT_TRUE(s.out.OpenOutput(s.dir.file("out.rc")));
  ASSERT_TRUE(s.out.Sink(OutputTarget::kAnchorList).OpenFile(s.dir.file("out.rc.res.tmt")));
  s.out.WriteLine("script");
  s.out.WriteLine("anchor", OutputTarget::kAnchorList);
  s.out.ListResource("'STR#'", "128");
  s.out.DiscardOutput();
  EXPECT_TRUE(s.out.Sink(OutputTarget::kAnchorList).Commit());
  EXPECT_FALSE(s.dir.exists("out.rc"));
  EXPECT_FALSE(s.dir.exists("out.reslist.txt"));
  EXPECT_EQ(s.dir.read("out.rc.res.tmt"), "anchor\r\n");
}

// The script and the anchor list are collected and handed on in blocks: order across blocks,
// text written to the other file in between, and data words counted while output is suspended
// must all come out as if every piece had been written at once.
TEST(Output, LargeOutputKeepsItsOrderAndLineBreaks) {
  Sink s;
  ASSERT_TRUE(s.out.OpenOutput(s.dir.file("out.rc")));
  ASSERT_TRUE(s.out.Sink(OutputTarget::kAnchorList).OpenFile(s.dir.file("other.txt")));
  std::string expected, anchors;
  for (int i = 0; i < 40000; ++i) {
    s.out.Printf("%d STR%s", i, "#");
    s.out.WriteNewLine();
    s.out.PrintfTo(OutputTarget::kAnchorList, "%d;", i);
    expected += std::to_string(i) + " STR#\r\n";
    anchors += std::to_string(i) + ";";
  }
  s.out.StartDataBlock(1);
  for (int i = 0; i < 3; ++i) s.out.WriteDataWord(static_cast<uint16_t>(0xA0 + i));
  const bool was = s.out.SuspendOutput();
  for (int i = 0; i < 3; ++i) s.out.WriteDataWord(0xFFFF);
  s.out.SetOutputEnabled(was);
  for (int i = 0; i < 3; ++i) s.out.WriteDataWord(static_cast<uint16_t>(0xB0 + i));
  s.out.FlushDataBytes();
  expected += "\t0x00A0,0x00A1,0x00A2,0x00B0,0x00B1,\r\n\t0x00B2,\r\n";
  ASSERT_TRUE(s.out.CloseOutput());
  ASSERT_TRUE(s.out.Sink(OutputTarget::kAnchorList).Commit());
  EXPECT_EQ(s.dir.read("out.rc"), expected);
  EXPECT_EQ(s.dir.read("other.txt"), anchors);
}

// Suspended output skips the bytes of a data string but still decodes its escapes for their
// errors, and leaves the block as a written string would (flushed, at column 1).
TEST(Output, SuspendedDataStringsCheckTheirEscapes) {
  Sink s;
  tessel::Lexer lex(s.errors);
  s.out.StartDataBlock(1);
  s.out.WriteDataWord(0x00A0);
  s.out.SuspendOutput();
  s.out.WriteDataString(lex, "\"abc\"", 2);
  EXPECT_THROW(s.out.WriteDataString(lex, "\"a\\q\"", 2), tessel::FatalError);
  s.out.WriteDataString(lex, "\"\\101bcdefghijklmnopq\"", 3);
  s.out.SetOutputEnabled(true);
  s.out.WriteDataWord(0x00B0);
  s.out.FlushDataBytes();
  EXPECT_EQ(s.text(), "\t0x00A0,\t\t\t0x00B0,\r\n");
}

// A short output fails when it is closed; a long one at the block that could not be written.
TEST(Output, AFailedWriteIsReportedWhenTheOutputIsClosed) {
  for (int lines : {1, 100000}) {
    SCOPED_TRACE(lines);
    ErrorContext errors;
    OutputWriter out{errors};
    ASSERT_TRUE(out.OpenOutput("/dev/full"));
    try {
      for (int i = 0; i < lines; ++i) out.WriteLine("text that cannot be stored");
      out.CloseOutput();
      FAIL() << "no error";
    } catch (const tessel::FatalError& e) {
      EXPECT_NE(e.text.find("File write error"), std::string::npos) << e.text;
    }
    out.DiscardOutput();
  }
}

// Held text goes after what is written once the hold ends, also across the blocks of a file;
// a hold that reaches its limit ends in HoldTooLarge and leaves what came before it.
TEST(Output, HeldTextFollowsWhatIsWrittenAfterTheHold) {
  Sink s;
  ASSERT_TRUE(s.out.OpenOutput(s.dir.file("out.rc")));
  const std::string before(300000, 'b'), held(300000, 'h');
  s.out.WriteString(before);
  s.out.HoldOutputs();
  s.out.WriteString(held);
  s.out.EndHold();
  s.out.WriteString("header");
  s.out.WriteHeld();

  s.out.SetHoldLimit(10);
  s.out.HoldOutputs();
  s.out.WriteString("short");
  EXPECT_THROW(s.out.WriteString("reaching the limit"), tessel::OutputSink::HoldTooLarge);
  s.out.EndHold();
  s.out.WriteString("end");
  ASSERT_TRUE(s.out.CloseOutput());
  EXPECT_EQ(s.dir.read("out.rc"), before + "header" + held + "end");
}
