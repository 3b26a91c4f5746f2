#include "resources/StringResources.h"

#include <gtest/gtest.h>

#include "Common/Errors.h"
#include "ContextFixture.h"
#include "frontend/Lexer.h"

using namespace tessel;

namespace {

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
  const auto run = testsupport::ConvertSource("'STR ' 1 \"x\" {\n\"" + text255 + "\\n\"\n}\n");
  EXPECT_FALSE(run.failed) << run.report;
  EXPECT_NE(run.script.find("\t256, 0,\r\n\t\"\\xFF" + text255 + "\\n\"\r\n"), std::string::npos);

  const std::string source256 = "'STR ' 1 \"x\" {\n\"" + std::string(255, 'a') + "\" \\\n\"b\"\n}\n";
  EXPECT_EQ(testsupport::CheckSourceError({source256.c_str(), "String is too long  (ResID: 1)", 3}), "");
}

}  // namespace
