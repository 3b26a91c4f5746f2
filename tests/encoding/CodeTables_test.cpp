#include "encoding/CodeTables.h"

#include <gtest/gtest.h>

#include <set>

using namespace tessel;

namespace {
const CodeTable& Table(std::string_view option) {
  auto found = FindCodeTable(option);
  EXPECT_TRUE(found.has_value() && *found) << option;
  return **found;
}
}  // namespace

TEST(CodeTables, LookupByOptionValue) {
  for (std::string_view name : {"int", "gre", "rus", "ceu"}) {
    const CodeTable& table = Table(name);
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    EXPECT_EQ(CodeTableName(&table), upper);
  }
  auto none = FindCodeTable("nul");
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(*none, nullptr);
  EXPECT_EQ(CodeTableName(nullptr), "NUL");
  // The value is folded to lower case before the lookup; anything else is unknown.
  EXPECT_FALSE(FindCodeTable("INT").has_value());
  EXPECT_FALSE(FindCodeTable("lat").has_value());
  EXPECT_FALSE(FindCodeTable("").has_value());
}

TEST(CodeTables, TranslationKeepsAsciiAndMapsHighBytes) {
  Translation t = BuildTranslation(Table("int"));
  for (int i = 0; i < 0x80; ++i) EXPECT_EQ(t[i], i);
  EXPECT_EQ(t[0x8A], 0xE4);
  EXPECT_EQ(t[0xA5], 0xB7);
  EXPECT_EQ(t[0x80], 0xC4);
  EXPECT_EQ(t[0xFF], 0xFE);

  // Row starts and ends of the other tables.
  struct Spot {
    const char* table;
    uint8_t mac, windows;
  };
  const Spot spots[] = {{"gre", 0x87, 0xA1}, {"gre", 0xD3, 0xB4}, {"gre", 0xFF, 0xFF}, {"rus", 0x80, 0xC0},
                        {"rus", 0xDD, 0xA8}, {"rus", 0xFF, 0xA4}, {"ceu", 0x8F, 0x8F}, {"ceu", 0xE1, 0x8A},
                        {"ceu", 0xFF, 0xA1}, {"int", 0xD8, 0xFF}, {"int", 0xC0, 0xBF}, {"gre", 0xA0, 0x9A}};
  for (const Spot& s : spots)
    EXPECT_EQ(BuildTranslation(Table(s.table))[s.mac], s.windows) << s.table << " " << int(s.mac);
}

TEST(CodeTables, WindowsBytesAreAllDifferent) {
  for (std::string_view name : {"int", "rus", "ceu", "gre"}) {
    Translation t = BuildTranslation(Table(name));
    std::set<int> produced;
    for (int mac = 0x80; mac <= 0xFF; ++mac) produced.insert(t[mac]);
    if (name == "gre") {
      // 0x8B and 0xD3 both give 0xB4; 0xA4 is never produced.
      EXPECT_EQ(t[0x8B], 0xB4);
      EXPECT_EQ(t[0xD3], 0xB4);
      EXPECT_EQ(produced.size(), 127u);
      EXPECT_EQ(produced.count(0xA4), 0u);
    } else {
      EXPECT_EQ(produced.size(), 128u) << name;
      EXPECT_EQ(*produced.begin(), 0x80) << name;
    }
  }
}

TEST(CodeTables, TranslateLiteralInPlace) {
  Translation t = BuildTranslation(Table("int"));
  char text[] = "\"a\x8A\xA5\\\"\"";
  TranslateLiteral(t, text);
  EXPECT_STREQ(text, "\"a\xE4\xB7\\\"\"");
}
