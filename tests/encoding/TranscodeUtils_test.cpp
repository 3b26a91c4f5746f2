#include "encoding/TranscodeUtils.h"

#include <gtest/gtest.h>

#include "Common/Errors.h"
#include "frontend/Lexer.h"

using namespace tessel;
using TranscodeUtils::Transcoder;

namespace {

struct Outcome {
  int64_t result;
  std::string out, stdoutText, stderrText;
};

Outcome Convert(uint32_t source, uint32_t target, const std::string& text, bool checkMark, bool writeMark,
                size_t extra = 0) {
  Transcoder transcoder(source, target);
  Outcome o;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  o.result = transcoder.Transcode(text.data(), text.size(), extra, checkMark, writeMark, o.out);
  o.stdoutText = testing::internal::GetCapturedStdout();
  o.stderrText = testing::internal::GetCapturedStderr();
  return o;
}

}  // namespace

TEST(Encodings, NamesAndNumbers) {
  struct Case {
    const char* name;
    int32_t encoding;
  };
  const Case cases[] = {
      {"65001", 65001},  {"1252", 1252},   {"0", 0},      {"utf8", 65001}, {"utf-8", 65001}, {"U8", 65001},
      {"utf16", 1200},   {"utf-16", 1200}, {"U16", 1200}, {"UTF8", -1},    {"Utf-8", -1},    {"u8", -1},
      {"", -1},          {"12a", -1},      {"-5", -1},    {" 12", -1},     {"latin1", -1},   {"2147483647", 2147483647},
      {"2147483648", -1}};
  for (const Case& c : cases) EXPECT_EQ(EncodingFromName(c.name), c.encoding) << c.name;
}

TEST(Encodings, Marks) {
  EXPECT_EQ(TranscodeUtils::TargetMark(65001), "\xEF\xBB\xBF");
  EXPECT_EQ(TranscodeUtils::TargetMark(1200), "\xFF\xFE");
  EXPECT_EQ(TranscodeUtils::TargetMark(1252), "");

  struct Case {
    uint32_t source;
    std::string text;
    bool found;
    int length;  // -1: left unchanged
  };
  const Case cases[] = {{65001, "\xEF\xBB\xBFx", true, 3},
                        {65001, "x\xEF\xBB\xBF", false, -1},
                        {65001, "\xEF\xBB", false, -1},
                        {1200, "\xFF\xFEx", true, 2},
                        {1200, "\xFE\xFF", true, 2},
                        {1200, "\xEF\xBB\xBF", false, -1},
                        {1252, "abc", true, 0},
                        {932, "", true, 0}};
  for (const Case& c : cases) {
    int length = -1;
    EXPECT_EQ(Transcoder(c.source, 1252).CheckSourceMark(c.text.data(), c.text.size(), &length), c.found)
        << c.source << " " << c.text;
    EXPECT_EQ(length, c.length) << c.source << " " << c.text;
  }
}

TEST(Transcode, ConvertsAndDropsTheSourceMark) {
  struct Case {
    uint32_t source, target;
    std::string text;
    bool writeMark;
    std::string expected;
  };
  const Case cases[] = {
      {65001, 1200, "\xEF\xBB\xBFh\xC3\xA9", false, std::string("h\0\xE9\0", 4)},
      {65001, 1200, "\xEF\xBB\xBFh", true, std::string("\xFF\xFEh\0", 4)},
      {65001, 65001, "\xEF\xBB\xBF\xE2\x82\xAC", true, "\xEF\xBB\xBF\xE2\x82\xAC"},
      {65001, 1252, "\xEF\xBB\xBF\xE2\x82\xAC\xC3\xA9", false, "\x80\xE9"},
      {1200, 65001, std::string("\xFF\xFEh\0\xAC\x20", 6), false, "h\xE2\x82\xAC"},
      {1252, 65001, "caf\xE9", false, "caf\xC3\xA9"},
      {932, 1200, "\x82\xA0", true, "\xFF\xFE\x42\x30"},
      {65001, 1200, "\xEF\xBB\xBF\xF0\x9F\x98\x80", false, std::string("\x3D\xD8\x00\xDE", 4)},
  };
  for (const Case& c : cases) {
    Outcome o = Convert(c.source, c.target, c.text, c.source != 1252 && c.source != 932, c.writeMark, 1);
    EXPECT_EQ(o.result, static_cast<int64_t>(c.expected.size() + 1)) << c.text;
    EXPECT_EQ(o.out, c.expected + std::string(1, '\0')) << c.text;
    EXPECT_EQ(o.stdoutText + o.stderrText, "");
  }
}

TEST(Transcode, MissingSourceMarkFailsSilently) {
  Outcome o = Convert(65001, 1200, "plain", true, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "");
  EXPECT_EQ(o.stderrText, "");
  // Without the check the same text converts.
  EXPECT_EQ(Convert(65001, 1200, "plain", false, false).result, 10);
}

TEST(Transcode, InvalidSourceNamesTheWrongBytes) {
  Outcome o = Convert(65001, 1200, "ab\xC3(", false, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "GetLastErr: 84 res: 0\n");
  EXPECT_EQ(o.stderrText,
            "Cannot create encoding:65001! ab\xC3(\n"
            "ansi2unicode returned nullptr (4)\n"
            "The string was ok until:\n ab\n"
            "Wrong char at pos:2, [ffffffc3 28]\n");

  // A three-byte character cut short at the end: the prefix up to it is good.
  o = Convert(65001, 1200, "x\xE2\x82", false, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stderrText,
            "Cannot create encoding:65001! x\xE2\x82\n"
            "ansi2unicode returned nullptr (3)\n"
            "The string was ok until:\n x\n"
            "Wrong char at pos:1, [ffffffe2 ffffff82]\n");
}

TEST(Transcode, UnknownEncodingsFail) {
  Outcome o = Convert(99999, 65001, "ab", false, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "GetLastErr: 22 res: 0\n");
  EXPECT_EQ(o.stderrText,
            "Cannot create encoding:99999! ab\n"
            "ansi2unicode returned nullptr (2)\n"
            "The string was ok until:\n \n"
            "Wrong char at pos:0, [61 62]\n");

  o = Convert(65001, 99999, "ab", false, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "Result len:0 <=0\n");
  EXPECT_EQ(o.stderrText,
            "Cannot create encoding:99999!\n"
            "WideCharToMultiByte returned bad2\n"
            "WideCharToMultiByte returned bad at char:1 97\n"
            "\"ab\"");
}

TEST(Transcode, CharacterMissingFromTargetCodePage) {
  Outcome o = Convert(65001, 1252,
                      "\xEF\xBB\xBF"
                      "a\xD0\x96"
                      "bc",
                      true, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "Replacement char used\n");
  EXPECT_EQ(o.stderrText,
            "Cannot create encoding:1252!\n"
            "WideCharToMultiByte returned bad2\n"
            "replace is used!\n"
            "WideCharToMultiByte returned bad at char:2 1046\n"
            "\"a\xD0\x96"
            "b\"");
  // UTF-8 holds every character.
  EXPECT_EQ(Convert(1251, 65001, "\xC6", false, false).out, "\xD0\x96");
}

TEST(Transcode, EmptyResults) {
  // Only the mark: nothing is left to write.
  Outcome o = Convert(65001, 1200, "\xEF\xBB\xBF", true, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "Result len:0 <=0\n");
  EXPECT_EQ(o.stderrText, "Cannot create encoding:1200!\nWideCharToMultiByte returned bad2\n");

  o = Convert(1252, 65001, "", false, false);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.stdoutText, "GetLastErr: 22 res: 0\n");
}

TEST(Transcode, Ansi2Unicode) {
  std::u16string wide;
  EXPECT_TRUE(TranscodeUtils::ansi2unicode("\x82\xA0z", 3, 932, wide));
  EXPECT_EQ(wide, u"\u3042z");
  EXPECT_FALSE(TranscodeUtils::ansi2unicode("z\x82", 2, 932, wide));  // a lead byte at the end
  EXPECT_FALSE(TranscodeUtils::ansi2unicode("", 0, 1252, wide));
  EXPECT_FALSE(TranscodeUtils::ansi2unicode("\xC3", 1, 65001, wide));
}

TEST(WideLiteral, DecodesQuotesEscapesAndUtf8) {
  ErrorContext errors;
  Lexer lex(errors);
  lex.SetSource("");
  EXPECT_EQ(WideFromLiteral(lex, ""), u"");
  EXPECT_EQ(WideLengthOfLiteral(lex, ""), 0u);
  EXPECT_EQ(WideFromLiteral(lex,
                            "Gr\xC3\xBC\xC3\x9F"
                            "e"),
            u"Grüße");
  EXPECT_EQ(WideFromLiteral(lex, "a\"\"b\"c"), u"a\"b\"c");
  EXPECT_EQ(WideFromLiteral(lex, "\\x41\\t\\101"), u"A\tA");
  EXPECT_EQ(WideFromLiteral(lex, "ab\\0cd"), u"ab");
  EXPECT_EQ(WideLengthOfLiteral(lex, "\xF0\x9F\x98\x80"), 2u);
  try {
    WideFromLiteral(lex, "ok\xC3(");
    FAIL() << "invalid UTF-8 accepted";
  } catch (const FatalError& e) {
    EXPECT_EQ(e.text, "Illegal String");
  }
}
