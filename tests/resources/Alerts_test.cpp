#include <gtest/gtest.h>

#include "ContextFixture.h"

namespace {

TEST(Alerts, SourceErrors) {
  const testsupport::SourceErrorCase cases[] = {
      {"'QALR'\n1 Error {\n", "Resource ID is missing", 1},
      {"'QALR' 1 {\n\"a\"\n", "An item is missing  (ResID: 1)", 1},
      {"'QALR' 1 Error \"t\"\n\"a\"\n", "{ is expected  (ResID: 1)", 2},
      {"'QALR' 1 Error\n{ \"a\"\n\"b\"\n\"c\"\n\"d\"\n\"e\"\n}\n", "Extra character on line  (ResID: 1)", 2},
      {"'QALR' 1 Error {\n\"a\" X\n\"b\"\n\"c\"\n\"d\"\n\"e\"\n}\n", "Extra character on line  (ResID: 1)", 2},
      // a text missing would leave the application reading past the resource
      {"'QALR' 1 Error {\n\"a\"\n\"b\"\n\"c\"\n\"d\"\n}\n", "String is missing  (ResID: 1)", 6},
      {"'QALR' 1 Error {\n\"a\"\n\"b\"\nX\n", "String is missing  (ResID: 1)", 4},
      {"'QALR' 1 Error {\n\"a\"\n\"b\"\n\"c\"\n\"d\"\n\"e\"\n\"f\"\n}\n", "} is expected  (ResID: 1)", 7},
      {"'QALR' 1 Error {\n\"a\"\n\"b\"\n\"c\"\n\"d\"\n\"e\" }\n", "Extra character on line  (ResID: 1)", 6},
      {"'QALR' 1 Error {\n\"a\\q\"\n\"b\"\n\"c\"\n\"d\"\n\"e\"\n}\n",
       "Unrecognized character escape sequence  (ResID: 1)", 6},
  };
  for (const auto& c : cases) EXPECT_EQ(testsupport::CheckSourceError(c), "") << c.source;
}

}  // namespace
