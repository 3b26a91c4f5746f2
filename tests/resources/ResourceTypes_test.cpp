// The resource type table: which keywords the loop refuses, which have a dependency entry in
// mode d, and the type names the handlers write.
#include "resources/ResourceTypes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "frontend/Tokens.h"

namespace tessel {
namespace {

TEST(ResourceTypes, OneRowPerKeywordCode) {
  ASSERT_EQ(ResourceTypes().size(), 31u);
  EXPECT_EQ(ResourceTypeOf(10001).keyword, "'STR#'");
  EXPECT_EQ(ResourceTypeOf(10013).keyword, "'QDLG'");
  EXPECT_EQ(ResourceTypeOf(10031).keyword, "'JSSC'");
  for (const ResourceType& type : ResourceTypes()) EXPECT_EQ(ResourceTypeOf(type.code).keyword, type.keyword);
}

TEST(ResourceTypes, RefusedTypesAndDependencyEntries) {
  std::set<std::string_view> refused;
  std::set<std::string_view> withEntry;
  for (const ResourceType& type : ResourceTypes()) {
    if (!type.handler) {
      refused.insert(type.keyword);
      EXPECT_EQ(std::string(type.outputType), "") << type.keyword;
    }
    if (type.dependencyEntry) withEntry.insert(type.keyword);
  }
  EXPECT_EQ(refused,
            (std::set<std::string_view>{"'MENU'", "'PAT#'", "'PAT '", "'VERS'", "'QBMP'", "'FLDR'", "'PLST'"}));
  EXPECT_EQ(withEntry, (std::set<std::string_view>{"'QICN'", "'QCSR'", "'TEXT'"}));
}

TEST(ResourceTypes, OutputTypeNames) {
  const struct {
    int code;
    const char* outputType;
  } cases[] = {{RES_STR_LIST, "STRS"}, {RES_STRM, "STRS"}, {RES_STRF, "STRf"}, {RES_STR, "STR_"},
               {RES_QDLG, "QXDG"},     {RES_DATA, "DATA"}, {RES_JSON, "JSON"}, {RES_JSSC, "JSSC"}};
  for (const auto& c : cases) EXPECT_EQ(std::string(ResourceTypeOf(c.code).outputType), c.outputType);
  // 'STR#' and 'STRm' are converted alike.
  EXPECT_EQ(ResourceTypeOf(RES_STR_LIST).handler, ResourceTypeOf(RES_STRM).handler);
}

}  // namespace
}  // namespace tessel
