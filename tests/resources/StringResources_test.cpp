#include "resources/StringResources.h"

#include <gtest/gtest.h>

#include "Common/Errors.h"
#include "frontend/Lexer.h"
#include "resources/RunSource.h"

using namespace tessel;

namespace {

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

TEST(LiteralBytes, RefusesAnUnknownEscape) {
  ErrorContext errors;
  Lexer lex(errors);
  try {
    LiteralBytes(lex, "\"a\\qb\"");
    FAIL() << "no error";
  } catch (const FatalError& e) {
    EXPECT_EQ(e.text, "Unrecognized character escape sequence");
  }
}

TEST(StringResources, SourceErrors) {
  const testsupport::SourceErrorCase cases[] = {
      {"'STR#'\n128 \"x\" {\n}\n", "Resource ID is missing", 1},
      {"'STR#' 128\n\"x\" {\n}\n", "String is missing  (ResID: 128)", 1},
      {"'STR#' 128 \"x\"\n\"y\"\n}\n", "{ is expected  (ResID: 128)", 2},
      {"'STR#' 128 \"x\" { \"a\"\n}\n", "Extra character on line  (ResID: 128)", 1},
      {"'STR#' 128 \"x\" {\n\"a\" }\n", "Extra character on line  (ResID: 128)", 2},
      {"'STR#' 128 \"x\" {\n\"a\"\nNAME\n}\n", "} is expected  (ResID: 128)", 3},
      {"'STR#' 128 \"x\" {\n\"a\"", "Unexpected end of file  (ResID: 128)", 2},
      {"'STRf' 7 \"x\" {\n\"a\"\n\"a\\qb\"\n}\n", "Unrecognized character escape sequence  (ResID: 7)", 3},
      {"'STR ' 129 \"x\" {\n}\n", "String is missing  (ResID: 129)", 2},
      {"'STR ' 129 \"x\" { \"a\"\n}\n", "Extra character on line  (ResID: 129)", 1},
      {"'STR ' 129 \"x\" {\n\"a\"\n\"b\"\n}\n", "} is expected  (ResID: 129)", 3},
      {"'STR ' 129 \"x\" {\n\"a\" }\n", "Extra character on line  (ResID: 129)", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(testsupport::CheckSourceError(c), "") << c.source;
}

// The length byte of a single string cannot hold more than 255.
TEST(StringResources, SingleStringOf255BytesOnly) {
  const std::string text255(254, 'a');
  const auto run = testsupport::RunSource("'STR ' 1 \"x\" {\n\"" + text255 + "\\n\"\n}\n");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.script.find("\t256, 0,\r\n\t\"\\xFF" + text255 + "\\n\"\r\n"), std::string::npos);

  const std::string source256 = "'STR ' 1 \"x\" {\n\"" + std::string(255, 'a') + "\" \\\n\"b\"\n}\n";
  EXPECT_EQ(testsupport::CheckSourceError({source256.c_str(), "String is too long  (ResID: 1)", 3}), "");
}

}  // namespace
