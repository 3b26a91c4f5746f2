#include "resources/ConfigResources.h"

#include <gtest/gtest.h>

#include <string>

#include "ContextFixture.h"

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

// An 'ACNF' with the method, the text and the second sum given.
std::string ConfigRecord(const std::string& method, const std::string& text, const std::string& sum = "A + B") {
  return "'ACNF' 129 \"c\" {\n1\n" + sum + "\n3\n" + method + "\n5\n6\n7\n8\n" + text + "\n}\n";
}

std::string CommandTable(int groups) {
  std::string source = "'CMND' 128 \"Commands\" {\n";
  for (int i = 0; i < groups; ++i) source += "\tG" + std::to_string(i) + " noIcon\n";
  return source + "}\n";
}

TEST(ConfigResources, SourceErrors) {
  const std::string text33 = "\"" + std::string(33, 'x') + "\"";
  const std::string label256 = "\"" + std::string(256, 'x') + "\"";
  const std::string rows[][3] = {
      {ConfigRecord("0x10", text33), "String is too long  (ResID: 129)", "10"},
      {ConfigRecord("0x10", "\"" + std::string(31, 'x') + "\\n\\t\""), "String is too long  (ResID: 129)", "10"},
      {ConfigRecord("FastMethod", "\"t\""), "Hexadecimal long value is expected  (ResID: 129)", "5"},
      {ConfigRecord("IoVEXMethod", "\"t\""), "Can't recognize item IoVEXMethod  (ResID: 129)", "5"},
      {ConfigRecord("2147483648", "\"t\""), "Long value is expected  (ResID: 129)", "5"},
      {ConfigRecord("0x10", "\"t\"", "A +"), "An item is missing  (ResID: 129)", "3"},
      {ConfigRecord("0x10", "\"t\"", "A B"), "Extra character on line  (ResID: 129)", "3"},
      {ConfigRecord("0x10", ""), "String is missing  (ResID: 129)", "11"},
      {"'ACNF' 129 \"c\"\n1\n}\n", "{ is expected  (ResID: 129)", "2"},
      {"'ACP0' 128 \"o\" {\n}\n", "String is missing  (ResID: 128)", "2"},
      {"'ACP0' 128 \"o\" {\n\"Name\"\n}\n", "String is missing  (ResID: 128)", "3"},
      {"'ACP0' 128 \"o\" { \"Name\"\n\"x\"\n}\n", "Extra character on line  (ResID: 128)", "1"},
      {"'ACP0' 128 \"o\" {\n\"Name\" \"x\"\n}\n", "Extra character on line  (ResID: 128)", "2"},
      // A template stores a label's length in one byte.
      {"'ACP0' 128 \"o\" {\n" + label256 + "\n\"x\"\n}\n", "String is too long  (ResID: 128)", "2"},
      {"'CMND' 128 {\n}\n", "String is missing  (ResID: 128)", "1"},
      {"'CMND' 128 \"c\" {\nG1\n\"Open\"\n}\n", "An item is missing  (ResID: 128)", "2"},
      {"'CMND' 128 \"c\" {\nG1 noIcon \"Open\"\n\"Save\" \"d\" X\n}\n", "Extra character on line  (ResID: 128)", "3"},
      {"'CMND' 128 \"c\" {\nG1 noIcon\n\"Open\"\nG2 noIcon G3\n}\n", "Extra character on line  (ResID: 128)", "4"},
      {"'CMND' 128 \"c\" {\nG1 noIcon\n\"Open\" }\n", "Extra character on line  (ResID: 128)", "3"},
      {"'CMND' 128 \"c\" {\nG1 noIcon\n\"Op\xFF"
       "en\"\n}\n",
       "Illegal String  (ResID: 128)", "3"},
  };
  for (const auto& row : rows) {
    const testsupport::SourceErrorCase c{row[0].c_str(), row[1].c_str(), std::stoi(row[2])};
    EXPECT_EQ(testsupport::CheckSourceError(c), "") << row[0];
  }
}

TEST(ConfigResources, TemplateLabelLimitOnlyForTheTemplate) {
  const std::string label255 = "\"" + std::string(255, 'x') + "\"";
  const std::string label256 = "\"" + std::string(256, 'x') + "\"";
  EXPECT_FALSE(testsupport::ConvertSource("'ACP0' 128 \"o\" {\n" + label255 + "\n\"x\"\n}\n").failed);
  EXPECT_FALSE(testsupport::ConvertSource("'ACP0' 129 \"o\" {\n" + label256 + "\n\"x\"\n}\n").failed);
}

TEST(ConfigResources, CommandCountsMustFitTheirWords) {
  const auto full = testsupport::ConvertSource(CommandTable(65535));
  EXPECT_FALSE(full.failed) << full.report;
  EXPECT_NE(full.script.find("\t65535,\r\n\tG0,\r\n"), std::string::npos);
  EXPECT_NE(full.script.find("\tG65534,\r\n\t0xffff,\r\n\t0,\r\n\r\nEND\r\n"), std::string::npos);

  const std::string groups = CommandTable(65536);
  EXPECT_EQ(testsupport::CheckSourceError({groups.c_str(), "Internal error  (ResID: 128)", 65537}), "");

  std::string commands = "'CMND' 128 \"Commands\" {\n\tG noIcon\n";
  for (int i = 0; i < 65536; ++i) commands += "\t\"c\"\n";
  commands += "}\n";
  EXPECT_EQ(testsupport::CheckSourceError({commands.c_str(), "Internal error  (ResID: 128)", 65538}), "");
}

}  // namespace
}  // namespace tessel
