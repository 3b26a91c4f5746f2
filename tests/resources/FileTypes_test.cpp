#include "resources/FileTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContextFixture.h"

namespace tessel {
namespace {

struct GroupSpec {
  std::string id;
  std::vector<std::string> children;
  std::vector<std::string> types;
};

FileTypeState MakeState(const std::vector<GroupSpec>& groups, const std::vector<std::string>& types) {
  FileTypeState state;
  for (const auto& spec : groups) {
    FileTypeGroupRecord record;
    record.id = spec.id;
    for (const auto& name : spec.children) record.children.push_back({name});
    for (const auto& name : spec.types) record.types.push_back({name});
    state.groups.push_back(record);
  }
  for (const auto& id : types) state.types.push_back({id, {}});
  return state;
}

struct GraphCase {
  const char* name;
  std::vector<GroupSpec> groups;
  std::vector<std::string> types;
  const char* fault;  // null: accepted
};

TEST(FileTypeGraph, RulesAndTheirOrder) {
  const std::vector<GraphCase> cases = {
      {"nested groups, each type listed once",
       {{"1", {"2", "3"}, {"A"}}, {"2", {}, {"B"}}, {"3", {}, {"B"}}},
       {"A", "B"},
       nullptr},
      {"type listed by the inner group only", {{"1", {"2"}, {}}, {"2", {}, {"A"}}}, {"A"}, nullptr},
      {"no groups at all", {}, {"A"}, nullptr},
      {"unknown child", {{"1", {"9"}, {}}}, {}, "Referenced child FTGP not found"},
      {"child matched as text only", {{"128", {}, {}}, {"1", {"0x80"}, {}}}, {}, "Referenced child FTGP not found"},
      {"ID of two groups named as child",
       {{"1", {"2"}, {}}, {"2", {}, {}}, {"2", {}, {}}},
       {},
       "Referenced child FTGP not found"},
      {"child listed twice in one group", {{"1", {"2", "2"}, {}}, {"2", {}, {}}}, {}, "FTGP has multiple parent"},
      {"child of two groups", {{"1", {"3"}, {}}, {"2", {"3"}, {}}, {"3", {}, {}}}, {}, "FTGP has multiple parent"},
      {"type listed while no type exists", {{"1", {}, {"A"}}}, {}, "Referenced FTYP not found"},
      {"unknown type", {{"1", {}, {"B"}}}, {"A"}, "Referenced FTYP not found"},
      {"ID of two types", {{"1", {}, {"A"}}}, {"A", "A"}, "Referenced FTYP not found"},
      {"type listed twice by one group", {{"1", {}, {"A", "A"}}}, {"A"}, "Multiple FTGP->FTYP reference"},
      {"group listing itself", {{"1", {"1"}, {}}}, {}, "Cyclic FTGP relation detected"},
      {"two groups in a ring", {{"1", {"2"}, {}}, {"2", {"1"}, {}}}, {}, "Cyclic FTGP relation detected"},
      {"walk into a ring from below",
       {{"3", {}, {}}, {"1", {"2"}, {}}, {"2", {"3", "1"}, {}}},
       {},
       "Cyclic FTGP relation detected"},
      {"type listed by a group and its parent",
       {{"1", {"2"}, {"A"}}, {"2", {}, {"A"}}},
       {"A"},
       "Transitive relation detected in FTGPs"},
      {"type listed by a group and a grandparent",
       {{"3", {}, {"A"}}, {"1", {"2"}, {"A"}}, {"2", {"3"}, {}}},
       {"A"},
       "Transitive relation detected in FTGPs"},
      {"siblings may list the same type", {{"1", {"2", "3"}, {}}, {"2", {}, {"A"}}, {"3", {}, {"A"}}}, {"A"}, nullptr},
      // Earlier rules win: types are resolved before cycles are looked for.
      {"ring and an unknown type", {{"1", {"1"}, {"B"}}}, {"A"}, "Referenced FTYP not found"},
      {"ring and a transitive listing",
       {{"1", {"2"}, {"A"}}, {"2", {"1"}, {"A"}}},
       {"A"},
       "Cyclic FTGP relation detected"},
  };
  for (const auto& c : cases) {
    FileTypeState state = MakeState(c.groups, c.types);
    const char* fault = FindFileTypeGraphFault(state);
    EXPECT_STREQ(fault, c.fault) << c.name;
  }
}

TEST(FileTypeGraph, ResolvesNamesAndParents) {
  FileTypeState state = MakeState({{"1", {"2"}, {"A"}}, {"2", {}, {"B"}}}, {"B", "A"});
  ASSERT_EQ(FindFileTypeGraphFault(state), nullptr);
  EXPECT_EQ(state.groups[0].children[0].resolved, 1u);
  EXPECT_EQ(state.groups[1].parent, 0u);
  EXPECT_EQ(state.groups[0].parent, kNoRecord);
  EXPECT_EQ(state.groups[0].types[0].resolved, 1u);
  EXPECT_EQ(state.types[0].groups, std::vector<size_t>{1});
  EXPECT_EQ(state.types[1].groups, std::vector<size_t>{0});
}

// A long chain listed root first: every walk up the chain and every ancestor test would
// repeat the whole chain if the check were not linear; the depth also rules out recursion.
TEST(FileTypeGraph, LongChains) {
  const int depth = 50000;
  std::vector<GroupSpec> chain;
  for (int i = 0; i < depth; ++i) {
    GroupSpec g{std::to_string(i), {}, {"T" + std::to_string(i)}};
    if (i + 1 < depth) g.children.push_back(std::to_string(i + 1));
    chain.push_back(g);
  }
  std::vector<std::string> types;
  for (int i = 0; i < depth; ++i) types.push_back("T" + std::to_string(i));
  FileTypeState sound = MakeState(chain, types);
  EXPECT_EQ(FindFileTypeGraphFault(sound), nullptr);

  chain.back().types.push_back("T0");
  FileTypeState transitive = MakeState(chain, types);
  EXPECT_STREQ(FindFileTypeGraphFault(transitive), "Transitive relation detected in FTGPs");

  chain.back().children.push_back("0");
  FileTypeState ring = MakeState(chain, types);
  EXPECT_STREQ(FindFileTypeGraphFault(ring), "Cyclic FTGP relation detected");
}

TEST(FileTypeCode, FirstCharacterIsMostSignificant) {
  EXPECT_EQ(FourCharCode("\"TEXT\""), 0x54455854u);
  EXPECT_EQ(FourCharCode("\"\xC4"
                         "bc \""),
            0xC4626320u);
}

TEST(FileTypeResources, SourceErrors) {
  const char* group = "'FTGP' 300 \"D\" {\n\"d\"\n{\n301\n}\n{\n}\n}\n";
  const testsupport::SourceErrorCase cases[] = {
      {"'FTGP'\n300 \"D\" {\n}\n", "Resource ID is missing", 1},
      {"'FTGP' 300\n\"D\" {\n}\n", "String is missing  (ResID: 300)", 1},
      {"'FTGP' 300 \"D\" {\n\"d\"\n301\n}\n", "{ is expected  (ResID: 300)", 3},
      {"'FTGP' 300 \"D\" {\n\"d\"\n{\n301 302\n}\n{\n}\n}\n", "Extra character on line  (ResID: 300)", 4},
      {"'FTGP' 300 \"D\" {\n\"d\"\n{\n301\n\"x\"\n}\n{\n}\n}\n", "} is expected  (ResID: 300)", 5},
      {"'FTGP' 300 \"D\" {\n\"d\"\n{\n}\n{\n}\n", "} is expected  (ResID: 300)", 7},
      {"'FTYP' 200 \"T\" {\n\"d\"\n}\n", "String is missing  (ResID: 200)", 3},
      {"'FTYP' 200 \"T\" {\n\"d\"\n\"e\"\n\"TEXT\"\n\"TXT\"\n0\n}\n",
       "String of four characters is expected  (ResID: 200)", 5},
      {"'FTYP' 200 \"T\" {\n\"d\"\n\"e\"\n\"TEXTS\"\n\"TEXT\"\n0\n}\n",
       "String of four characters is expected  (ResID: 200)", 4},
      {"'FTYP' 200 \"T\" {\n\"d\"\n\"e\"\n\"TEXT\"\n\"ttxt\"\n}\n", "An item is missing  (ResID: 200)", 6},
      {"'FTYP' 200 \"T\" {\n\"d\"\n\"e\"\n\"TEXT\"\n\"ttxt\"\n0 1\n}\n", "Extra character on line  (ResID: 200)", 6},
      // Checked after the last resource, at the line of the last token an expectation left unread.
      {group, "Referenced child FTGP not found  (ResID: 300)", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(testsupport::CheckSourceError(c), "") << c.source;
}

// Thousands of groups nested in one chain, each listing its own type, then one type listed
// again at the bottom of the chain: the whole run stays linear.
TEST(FileTypeResources, DeepChainOfGroups) {
  const int depth = 5000;
  std::string types;
  for (int i = 0; i < depth; ++i) {
    types += "'FTYP' T" + std::to_string(i) + " \"t\" {\n\"d\"\n\"e\"\n\"TEXT\"\n\"ttxt\"\n0\n}\n";
  }
  auto groups = [&](bool repeatFirstType) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
      text += "'FTGP' G" + std::to_string(i) + " \"g\" {\n\"d\"\n{\n";
      if (i + 1 < depth) text += "G" + std::to_string(i + 1) + "\n";
      text += "}\n{\nT" + std::to_string(i) + "\n";
      if (repeatFirstType && i + 1 == depth) text += "T0\n";
      text += "}\n}\n";
    }
    return text;
  };
  const auto sound = testsupport::ConvertSource(types + groups(false));
  EXPECT_FALSE(sound.failed) << sound.report;

  const auto transitive = testsupport::ConvertSource(types + groups(true));
  EXPECT_TRUE(transitive.failed);
  EXPECT_NE(transitive.report.find("Transitive relation detected in FTGPs  (ResID: G4999)"), std::string::npos)
      << transitive.report;
}

}  // namespace
}  // namespace tessel
