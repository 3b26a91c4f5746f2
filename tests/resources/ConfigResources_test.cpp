#include "resources/ConfigResources.h"

#include <gtest/gtest.h>

#include <string>

namespace tessel {
namespace {

std::string Zeros(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "\\0";
  return s;
}

TEST(ConfigText, PaddedToThirtyTwoBytes) {
  EXPECT_EQ(PaddedConfigText("\"\"", 0), "\"" + Zeros(32) + "\"");
  EXPECT_EQ(PaddedConfigText("\"abc\"", 3), "\"abc" + Zeros(29) + "\"");
  // Escapes and doubled quotes stay as written; the byte count decides the padding.
  EXPECT_EQ(PaddedConfigText("\"a\\tb\"\"\"", 4), "\"a\\tb\"\"" + Zeros(28) + "\"");
  const std::string full = "\"" + std::string(32, 'x') + "\"";
  EXPECT_EQ(PaddedConfigText(full, 32), full);
}

TEST(CommandTitle, CannotEndItsComment) {
  EXPECT_EQ(CommentSafe("plain"), "plain");
  EXPECT_EQ(CommentSafe("a*/b"), "a* /b");
  EXPECT_EQ(CommentSafe("**/*/"), "** /* /");
  EXPECT_EQ(CommentSafe("*"), "*");
  EXPECT_EQ(CommentSafe("/*"), "/*");
}

}  // namespace
}  // namespace tessel
