#include "Common/AnchorCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using tessel::DuplicatedAnchorWarnings;

TEST(AnchorCheck, ReportsAnchorsThatStartTwoLines) {
  struct Case {
    const char* list;
    const char* warnings;
  };
  const Case cases[] = {
      {"Open\t1\tHelp\r\nSave\t2\tHelp\r\nOpen\t3\tHelp\r\n", "Duplicated Anchor: \"Open\"\n"},
      {"Open\t1\r\nOpen2\t2\r\n", ""},    // a longer name (digit follows)
      {"Open\t1\r\nOpen_B\t2\r\n", ""},   // underscore follows
      {"Open\t1\r\nOpenx\t2\r\n", ""},    // lower-case letter follows
      {"Open\t1\r\nSave\tOpen\r\n", ""},  // later occurrence not at a line start
      {"A\t1\r\nA\t2\r\nA\t3\r\n", "Duplicated Anchor: \"A\"\nDuplicated Anchor: \"A\"\n"},
      {"Open$x\t1\r\nOpen*\t2\r\n", "Duplicated Anchor: \"Open\"\n"},
      {"\t1\r\n\t2\r\n", ""},                                // empty words are never reported
      {"Open\t1\r\nOpen", "Duplicated Anchor: \"Open\"\n"},  // at the very end of the list
  };
  for (const auto& c : cases) EXPECT_EQ(DuplicatedAnchorWarnings(c.list), c.warnings) << c.list;
}

namespace {
// The plain reading of the rule: search the whole list after each word.
std::string NaiveWarnings(const std::string& list) {
  std::string warnings;
  std::string_view all(list);
  size_t line = 0;
  while (true) {
    size_t p = line;
    while (p < all.size() && (all[p] == '\r' || all[p] == '\n')) ++p;
    size_t end = p;
    while (end < all.size() && !std::strchr("\t\n\r $*/", all[end])) ++end;
    std::string_view word = all.substr(p, end - p);
    size_t found = word.empty() ? std::string_view::npos : all.find(word, end);
    if (found != std::string_view::npos) {
      auto after = static_cast<unsigned char>(list.c_str()[found + word.size()]);
      bool longer = after == '-' || std::isdigit(after) || std::isupper(after) || after == '_';
      if (!longer && !std::islower(after) && found > 0 && (all[found - 1] == '\r' || all[found - 1] == '\n')) {
        warnings += "Duplicated Anchor: \"" + std::string(word) + "\"\n";
      }
    }
    size_t next = all.find("\r\n", line);
    if (next == std::string_view::npos) break;
    line = next + 2;
  }
  return warnings;
}
}  // namespace

TEST(AnchorCheck, AgreesWithTheWholeListSearchOnRandomLists) {
  std::mt19937 random(7);
  const std::string alphabet = "aAb1_-\t\r\n $";
  for (int round = 0; round < 3000; ++round) {
    std::string list;
    int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) list += alphabet[random() % alphabet.size()];
    const std::string naive = NaiveWarnings(list);
    ASSERT_EQ(DuplicatedAnchorWarnings(list), naive) << ::testing::PrintToString(list);
    ASSERT_EQ(DuplicatedAnchorWarnings(list, 0), naive) << "in two halves: " << ::testing::PrintToString(list);
  }
}
