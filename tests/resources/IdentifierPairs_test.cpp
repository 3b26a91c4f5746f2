#include <gtest/gtest.h>

#include "ContextFixture.h"

namespace {

TEST(IdentifierPairs, SourceErrors) {
  const testsupport::SourceErrorCase cases[] = {
      {"'MDID'\n300 \"x\" {\nA\nB\n}\n", "Resource ID is missing", 1},
      {"'MDID' 300 {\nA\nB\n}\n", "String is missing  (ResID: 300)", 1},
      {"'MDID' 300 \"x\"\nA\nB\n}\n", "{ is expected  (ResID: 300)", 2},
      {"'MDID' 300 \"x\" { A\nB\n}\n", "Extra character on line  (ResID: 300)", 1},
      {"'MDID' 300 \"x\" {\nA B\n}\n", "Extra character on line  (ResID: 300)", 2},
      {"'MDID' 300 \"x\" {\n\"A\"\nB\n}\n", "An item is missing  (ResID: 300)", 2},
      {"'MDID' 300 \"x\" {\nA\n}\n", "An item is missing  (ResID: 300)", 3},
      {"'MDID' 300 \"x\" {\nA\nB\nC\n}\n", "} is expected  (ResID: 300)", 4},
      {"'MDID' 300 \"x\" {\nA\nB }\n", "Extra character on line  (ResID: 300)", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(testsupport::CheckSourceError(c), "") << c.source;
}

}  // namespace
