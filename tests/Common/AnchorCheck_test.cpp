#include "Common/AnchorCheck.h"

#include <gtest/gtest.h>

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
