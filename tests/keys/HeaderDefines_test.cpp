#include "keys/HeaderDefines.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Common/Errors.h"
#include "TestSupport.h"

namespace tessel {
namespace {

using Table = std::map<std::string, std::string>;

Table Read(const std::string& text) {
  ErrorContext errors;
  HeaderDefines defines(errors);
  defines.ReadText(text);
  return defines.Table();
}

TEST(HeaderDefines, NumberForms) {
  EXPECT_EQ(Read("ID_OK = 1\nID_NEG = -5\nID_HEX = 0x10\nID_OCT = 010\nID_PLUS\t=\t+7\r\n"
                 "ID_MIN = -32768\nID_MAX = 0x7FFF\n"),
            (Table{{"ID_OK", "1"},
                   {"ID_NEG", "-5"},
                   {"ID_HEX", "16"},
                   {"ID_OCT", "8"},
                   {"ID_PLUS", "7"},
                   {"ID_MIN", "-32768"},
                   {"ID_MAX", "32767"}}));
}

TEST(HeaderDefines, ReadingStopsAtTheFirstEntryThatDoesNotFit) {
  struct Case {
    const char* text;
    Table table;
  };
  const Case cases[] = {
      {"A = 1\nID_OK=1\nB = 2\n", {{"A", "1"}}},                      // the name takes the whole word
      {"#define ID_OK 1\nA = 1\n", {}},                               // no equals sign after "#define"
      {"A = 1\nB = 32768\nC = 3\n", {{"A", "1"}}},                    // outside the signed 16-bit range
      {"A = 1\nB = -0x8001\n", {{"A", "1"}}},                         //
      {"A = 1\nB = 0xFFFF\n", {{"A", "1"}}},                          //
      {"A = 1\nB = 99999999999999999999\n", {{"A", "1"}}},            // no wrap-around
      {"A = 1\nB = - 5\n", {{"A", "1"}}},                             // a sign without digits
      {"A = 1\nB = x\n", {{"A", "1"}}},                               //
      {"A = 1\nB =", {{"A", "1"}}},                                   // end of the text
      {"A\n=\n5 B = 6 C = 7", {{"A", "5"}, {"B", "6"}, {"C", "7"}}},  // white space includes line ends
      {"A = 09\n", {{"A", "0"}}},                                     // octal stops at 9; "9" has no '='
      {"A = 1\nA = 2\n", {{"A", "2"}}},                               // a later value replaces the earlier
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text), c.table) << c.text;
}

TEST(HeaderDefines, LongNamesAreKeptWhole) {
  std::string name(5000, 'N');
  EXPECT_EQ(Read(name + " = 3\n"), (Table{{name, "3"}}));
}

TEST(HeaderDefines, FilesAddToOneTableAndAMissingFileAddsNothing) {
  testsupport::TempDir dir;
  dir.write("a.h", "ID_A = 1\nID_BOTH = 2\n");
  dir.write("b.h", "ID_BOTH = 3\nID_B = 0x20\n");
  ErrorContext errors;
  HeaderDefines defines(errors);
  EXPECT_TRUE(defines.ReadInput(dir.file("a.h")));
  EXPECT_TRUE(defines.ReadInput(dir.file("missing.h")));
  EXPECT_TRUE(defines.ReadInput(dir.file("b.h")));
  EXPECT_EQ(defines.Table(), (Table{{"ID_A", "1"}, {"ID_BOTH", "3"}, {"ID_B", "32"}}));
  defines.Clear();
  EXPECT_TRUE(defines.Table().empty());
}

}  // namespace
}  // namespace tessel
