#include "resources/GuidLists.h"

#include <gtest/gtest.h>

#include <string>

#include "ContextFixture.h"

namespace tessel {
namespace {

constexpr char kGuid[] = "\"{00112233-4455-6677-8899-AABBCCDDEEFF}\"";

// A record: the GUID literal, the name and the values, each on a line of its own.
std::string Record(const std::string& guid, const std::string& values) { return guid + "\n\"N\"\n" + values; }

std::string Meps(const std::string& values) { return "'MEPS' 128 \"m\" {\n" + Record(kGuid, values) + "}\n"; }

TEST(GuidLists, SourceErrors) {
  const std::string rows[][3] = {
      {"'LAY2'\n128 \"l\" {\n}\n", "Resource ID is missing", "1"},
      {"'LAY2' 128\n{\n}\n", "String is missing  (ResID: 128)", "1"},
      {"'LAY2' 128 \"l\"\n" + Record(kGuid, "1\n0x1\n") + "}\n", "{ is expected  (ResID: 128)", "2"},
      {"'LAY2' 128 \"l\" {\n}\n", "String is missing  (ResID: 128)", "2"},
      {"'LAY2' 128 \"l\" {\nNAME\n}\n", "String is missing  (ResID: 128)", "2"},
      // 31 digits, 33 digits: refused before anything of the resource counts them
      {"'LAY2' 128 \"l\" {\n" + Record("\"{00112233-4455-6677-8899-AABBCCDDEEF}\"", "1\n0x1\n") + "}\n",
       "Can't recognize item \"{00112233-4455-6677-8899-AABBCCDDEEF}\"  (ResID: 128)", "2"},
      {"'LAY2' 128 \"l\" {\n" + Record("\"{00112233-4455-6677-8899-AABBCCDDEEFF0}\"", "1\n0x1\n") + "}\n",
       "Can't recognize item \"{00112233-4455-6677-8899-AABBCCDDEEFF0}\"  (ResID: 128)", "2"},
      {"'LAY2' 128 \"l\" {\n" + std::string(kGuid) + "\n1\n0x1\n}\n", "String is missing  (ResID: 128)", "3"},
      {"'LAY2' 128 \"l\" {\n" + Record(kGuid, "1\n255\n") + "}\n", "Hexadecimal short value is expected  (ResID: 128)",
       "5"},
      {"'LAY2' 128 \"l\" {\n" + Record(kGuid, "65536\n0x1\n") + "}\n", "Unsigned short value is expected  (ResID: 128)",
       "4"},
      {"'LAY2' 128 \"l\" {\n" + Record(kGuid, "1 0x1\n") + "}\n", "Extra character on line  (ResID: 128)", "4"},
      {"'LAY2' 128 \"l\" {\n" + Record(kGuid, "1\n") + "}\n", "An item is missing in the previous unit  (ResID: 128)",
       "5"},
      {"'LAY2' 128 \"l\" {\n" + Record(kGuid, "1\n0x1\n") + "NAME\n", "} is expected  (ResID: 128)", "6"},
      {"'LAY2' 128 \"l\" {\n" + std::string(kGuid) + " \"\xC3(\"\n1\n0x1\n}\n", "Illegal String  (ResID: 128)", "2"},
      {Meps("5\n0\n7\n1\n50\n60\n70\n80\n90\n100\n"), "An item is missing in the previous unit  (ResID: 128)", "14"},
      {Meps("5\n0\n7\n1\n50\n60\n70\n80\n90\n100\n65536\n"), "Unsigned short value is expected  (ResID: 128)", "14"},
      {Meps("5\n0\n0x7\n1\n50\n60\n70\n80\n90\n100\n11\n"),
       "Illegal decimal integer value or undefined constant  (ResID: 128)", "6"},
  };
  for (const auto& row : rows) {
    const testsupport::SourceErrorCase c{row[0].c_str(), row[1].c_str(), std::stoi(row[2])};
    EXPECT_EQ(testsupport::CheckSourceError(c), "") << row[0];
  }
}

}  // namespace
}  // namespace tessel
