#include "Common/AnchorCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string_view>

using tessel::DuplicatedAnchorWarnings;

TEST(AnchorCheck, ReportsAnchorsThatStartTwoLines) {
  struct Case {
    const char* list;
    const char* warnings;
  };
  const Case cases[] = {
      {"Open\t1\tHelp\r\nSave\t2\tHelp\r\nOpen\t3\tHelp\r\n", "Duplicated Anchor: \"Open\"\n"},
      {"Open\t1\r\nOpen2\t2\r\n", ""},         // a longer name (digit follows)
      {"Open\t1\r\nOpen_B\t2\r\n", ""},        // underscore follows
      {"Open\t1\r\nOpenx\t2\r\n", ""},         // lower-case letter follows
      {"Open\t1\r\nSave\tOpen\r\n", ""},       // later occurrence not at a line start
      {"A\t1\r\nA\t2\r\nA\t3\r\n", "Duplicated Anchor: \"A\"\nDuplicated Anchor: \"A\"\n"},
      {"Open$x\t1\r\nOpen*\t2\r\n", "Duplicated Anchor: \"Open\"\n"},
      {"\t1\r\n\t2\r\n", ""},                  // empty words are never reported
      {"Open\t1\r\nOpen", "Duplicated Anchor: \"Open\"\n"},  // at the very end of the list
  };
  for (const auto& c : cases) EXPECT_EQ(DuplicatedAnchorWarnings(c.list), c.warnings) << c.list;
}

// The check as a direct search after each word, to compare with on many small lists.
std::string DirectSearch(const std::string& list) {
  std::string warnings;
  std::string_view all(list);
  const char* buffer = list.c_str();
  size_t line = 0;
  while (true) {
    size_t p = line;
    while (p < all.size() && (buffer[p] == '\r' || buffer[p] == '\n')) ++p;
    size_t end = p;
    while (end < all.size() && buffer[end] != '\0' && !std::strchr("\t\n\r $*/", buffer[end])) ++end;
    std::string_view word = all.substr(p, end - p);
    size_t found = word.empty() ? std::string_view::npos : all.find(word, end);
    if (found != std::string_view::npos) {
      auto after = static_cast<unsigned char>(buffer[found + word.size()]);
      bool longerName = after == '-' || std::isdigit(after) || std::isupper(after) || after == '_';
      bool startsLine = found > 0 && (buffer[found - 1] == '\r' || buffer[found - 1] == '\n');
      if (!longerName && !std::islower(after) && startsLine) warnings += "Duplicated Anchor: \"" + std::string(word) + "\"\n";
    }
    size_t next = all.find("\r\n", line);
    if (next == std::string_view::npos) break;
    line = next + 2;
  }
  return warnings;
}

TEST(AnchorCheck, AgreesWithADirectSearchOnRandomLists) {
  // Few distinct bytes, so that words repeat, overlap and occur inside other lines.
  const char alphabet[] = {'a', 'b', 'A', '\t', '\r', '\n', ' ', '1', '\0'};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::string list(random() % 40, ' ');
    for (char& c : list) c = alphabet[random() % sizeof alphabet];
    ASSERT_EQ(DuplicatedAnchorWarnings(list), DirectSearch(list)) << testing::PrintToString(list);
  }
}

TEST(AnchorCheck, ManyAnchorsOfOneWord) {
  std::string list;
  for (int i = 0; i < 50000; ++i) list += "Same\t" + std::to_string(i) + "\r\n";
  std::string expected;
  for (int i = 0; i < 49999; ++i) expected += "Duplicated Anchor: \"Same\"\n";
  EXPECT_EQ(DuplicatedAnchorWarnings(list), expected);
}
