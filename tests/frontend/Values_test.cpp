#include "frontend/Values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrontendFixture.h"

using namespace tessel;
using frontendtest::LexerFixture;

namespace {

class ValuesTest : public LexerFixture {
 protected:
  void SetUp() override {
    Source("\n\nx");
    lex.GetToken();
  }  // errors at line 3
};

TEST_F(ValuesTest, NumberTests) {
  struct Case {
    const char* text;
    bool decimal, hex, hexWithPrefix;
  };
  const Case cases[] = {
      {"12", true, true, false},          {"-3", true, false, false},           {"-", false, false, false},
      {"", false, false, false},          {"1.5", false, false, false},         {"0x1F", false, false, true},
      {"0XaB", false, false, true},       {"0x", false, false, false},          {"FFFF", false, true, false},
      {"0x12345678", false, false, true}, {"0x000000001", false, false, false}, {"12345678901", true, false, false},
      {"IDOK", false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDecimal(c.text), c.decimal) << c.text;
    EXPECT_EQ(IsHex(c.text, false), c.hex) << c.text;
    EXPECT_EQ(IsHex(c.text, true), c.hexWithPrefix) << c.text;
    EXPECT_EQ(IsNumber(c.text), c.decimal || c.hexWithPrefix) << c.text;
  }
  EXPECT_FALSE(IsDecimal(nullptr));
  EXPECT_FALSE(IsHex(nullptr, true));
}

TEST_F(ValuesTest, AcceptedValues) {
  EXPECT_EQ(ParseLong(lex, "-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseLong(lex, "2147483647"), INT32_MAX);
  EXPECT_EQ(ParseLong(lex, "-0000000001"), -1);
  EXPECT_EQ(ParseLong(lex, "0"), 0);
  EXPECT_EQ(ParseShort(lex, "-32768"), -32768);
  EXPECT_EQ(ParseShort(lex, "32767"), 32767);
  EXPECT_EQ(ParseShort(lex, "007"), 7);
  EXPECT_EQ(ParseUShort(lex, "65535"), 65535);
  EXPECT_EQ(ParseUChar(lex, "255"), 255);
  EXPECT_EQ(ParseUChar(lex, "0255"), 255);
  EXPECT_EQ(ParseHexLong(lex, "0xFFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseHexLong(lex, "0X1a"), 0x1Au);
  EXPECT_EQ(ParseHexShort(lex, "0x0000FFFF"), 0xFFFF);
  EXPECT_EQ(ParseShortValue(lex, "0xFFFF"), 0xFFFF);
  EXPECT_EQ(ParseShortValue(lex, "65535"), 65535);
}

TEST_F(ValuesTest, RejectedValues) {
  const std::string notDecimal = "Illegal decimal integer value or undefined constant";
  struct Case {
    uint16_t (*parse)(Lexer&, const char*);
    const char* text;
    std::string message;
  };
  // The parsers of other result types, widened for the table.
  auto parseLong = [](Lexer& l, const char* t) { return static_cast<uint16_t>(ParseLong(l, t)); };
  auto parseShort = [](Lexer& l, const char* t) { return static_cast<uint16_t>(ParseShort(l, t)); };
  auto parseUChar = [](Lexer& l, const char* t) { return static_cast<uint16_t>(ParseUChar(l, t)); };
  auto parseHexLong = [](Lexer& l, const char* t) { return static_cast<uint16_t>(ParseHexLong(l, t)); };
  const std::vector<Case> cases = {
      {parseLong, "2147483648", "Long value is expected"},
      {parseLong, "02147483647", "Long value is expected"},
      {parseLong, "-2147483649", "Long value is expected"},
      {parseLong, "-02147483648", "Long value is expected"},
      {parseLong, "IDOK", notDecimal},
      {parseLong, nullptr, notDecimal},
      {parseShort, "32768", "Short value is expected"},
      {parseShort, "-32769", "Short value is expected"},
      {parseShort, "0000001", "Short value is expected"},
      {parseShort, "0x10", notDecimal},
      {ParseUShort, "-1", "Unsigned short value is expected"},
      {ParseUShort, "65536", "Unsigned short value is expected"},
      {ParseUShort, "0000001", "Unsigned short value is expected"},
      {ParseUShort, "IDOK", notDecimal},
      {parseUChar, "256", "Unsigned char value is expected"},
      {parseUChar, "-1", "Unsigned char value is expected"},
      {parseUChar, "00001", "Unsigned char value is expected"},
      {parseHexLong, "0x123456789", "Hexadecimal long value is expected"},
      {parseHexLong, "12", "Hexadecimal long value is expected"},
      {parseHexLong, "0x", "Hexadecimal long value is expected"},
      {parseHexLong, nullptr, "Hexadecimal long value is expected"},
      {ParseHexShort, "0x10000", "Hexadecimal short value is expected"},
      {ParseHexShort, "0xG", "Hexadecimal short value is expected"},
      {ParseShortValue, "0x10000", "Hexadecimal short value is expected"},
      {ParseShortValue, "65536", "Unsigned short value is expected"},
      {ParseShortValue, "FFFF", "Decimal or hexadecimal short value is expected"},
      {ParseShortValue, nullptr, "Decimal or hexadecimal short value is expected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    ExpectFailure([&] { c.parse(lex, c.text); }, c.message, 3);
  }
}

TEST_F(ValuesTest, Escapes) {
  struct Case {
    const char* text;
    int value;
    int length;
  };
  const Case cases[] = {
      {"\\n", 10, 2},    {"\\r", 13, 2},     {"\\t", 9, 2},     {"\\v", 11, 2},     {"\\f", 12, 2},
      {"\\b", 8, 2},     {"\\\"", '"', 2},   {"\\'", '\'', 2},  {"\\\\", '\\', 2},  {"\\101", 65, 4},
      {"\\1019", 65, 4}, {"\\7", 7, 2},      {"\\0", 0, 2},     {"\\177", 127, 4},  {"\\x41", 65, 4},
      {"\\X41g", 65, 4}, {"\\x0041", 65, 6}, {"\\0x41", 65, 5}, {"\\0X7f", 127, 5},
  };
  for (const Case& c : cases) {
    Escape e = DecodeEscape(lex, c.text);
    EXPECT_EQ(e.value, c.value) << c.text;
    EXPECT_EQ(e.length, c.length) << c.text;
  }
  for (const char* bad :
       {"\\a", "\\e", "\\?", "\\ ", "\\.", "\\", "\\x", "\\xg", "\\x80", "\\x100", "\\200", "\\0x", "\\0x80"}) {
    SCOPED_TRACE(bad);
    ExpectFailure([&] { DecodeEscape(lex, bad); }, "Unrecognized character escape sequence", 3);
  }
}

TEST_F(ValuesTest, StringByteCount) {
  struct Case {
    std::string text;
    long count;
  };
  const std::vector<Case> cases = {
      {"\"abc\"", 5},  {"\"a\\nb\"", 5},    {"\"\\n\"", 3},        {"\"\"", 2},         {"\"a\"\"b\"", 5},
      {"\"\"\"\"", 3}, {"\"\"\"\"\"\"", 4}, {"\"\\x41\\101\"", 4}, {"\"\x81\x40\"", 4},
  };
  for (const Case& c : cases) EXPECT_EQ(StringByteCount(lex, c.text.c_str()), c.count) << c.text;
  lex.SetCodePage(932);
  EXPECT_EQ(StringByteCount(lex, "\"\x81\x40x\""), 5);  // one double-byte character counts 2
  EXPECT_EQ(StringByteCount(lex, "\"\x81\"\""), 4);     // its second byte may be a quote
  ExpectFailure([&] { StringByteCount(lex, "\"\\q\""); }, "Unrecognized character escape sequence", 3);
}

struct BytesCase {
  uint16_t codePage;
  const char* literal;
  std::string bytes;
};

TEST(LiteralBytes, DecodesQuotesEscapesAndDoubleByteCharacters) {
  const BytesCase cases[] = {
      {0, "\"Ab\"", "Ab"},
      {0, "\"\"", ""},
      {0, "\"a\"\"b\"\"\"", "a\"b\""},
      {0, "\"\\n\\t\\\\\\'\"", "\n\t\\'"},
      {0, "\"\\101\\x42\\0x43z\"", "ABCz"},
      {0, "\"\\0\"", std::string(1, '\0')},
      // 0x83 0x5C is one character in code page 932: its second byte starts no escape
      {932, "\"\x83\\n\"", "\x83\\n"},
      {0, "\"\x83\\n\"", "\x83\n"},
      {932, "\"\x81\x81\\n\"", "\x81\x81\n"},
  };
  for (const BytesCase& c : cases) {
    ErrorContext errors;
    Lexer lex(errors);
    lex.SetCodePage(c.codePage);
    EXPECT_EQ(LiteralBytes(lex, c.literal), c.bytes) << c.literal << " in code page " << c.codePage;
  }
}

TEST_F(ValuesTest, LiteralBytesAgreesWithTheCount) {
  // the count is the decoded bytes plus the two quotes; a backslash ending the body is refused
  for (const char* text : {"\"a\"\"\\x41\\101\\n\"", "\"\"", "\"\\\\\""}) {
    EXPECT_EQ(StringByteCount(lex, text), static_cast<long>(LiteralBytes(lex, text).size()) + 2) << text;
  }
  ExpectFailure([&] { LiteralBytes(lex, "\"a\\qb\""); }, "Unrecognized character escape sequence", 3);
  ExpectFailure([&] { DecodeLiteral(lex, "a\\", 0, [](unsigned char) {}); }, "Unrecognized character escape sequence",
                3);
}

}  // namespace
