#include "platform/Platform.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

TEST(Platform, CodePageFromCharset) {
  struct Case {
    const char* charset;
    uint16_t codePage;
  };
  const Case cases[] = {{"UTF-8", 1252},     {"ANSI_X3.4-1968", 1252}, {"shift_jis", 932}, {"SJIS", 932},
                        {"CP932", 932},      {"WINDOWS-31J", 932},     {"GBK", 936},       {"gb18030", 936},
                        {"EUC-CN", 936},     {"EUC-KR", 949},          {"UHC", 949},       {"BIG5", 950},
                        {"BIG5-HKSCS", 950}, {"TIS-620", 874},         {"CP874", 874},     {"cp1251", 1251},
                        {"CP1258", 1258},    {"ISO-8859-1", 1252}};
  for (const auto& c : cases) EXPECT_EQ(platform::CodePageFromCharset(c.charset), c.codePage) << c.charset;
}

TEST(Platform, LeadBytes) {
  EXPECT_TRUE(platform::IsLeadByte(932, 0x81));
  EXPECT_TRUE(platform::IsLeadByte(932, 0xE0));
  EXPECT_FALSE(platform::IsLeadByte(932, 0xA0));
  EXPECT_FALSE(platform::IsLeadByte(932, 0xFD));
  EXPECT_TRUE(platform::IsLeadByte(936, 0xFE));
  EXPECT_FALSE(platform::IsLeadByte(949, 0x80));
  EXPECT_FALSE(platform::IsLeadByte(874, 0x81));
  EXPECT_FALSE(platform::IsLeadByte(0, 0x81));
}

TEST(Platform, PathsDirectoriesAndSameFile) {
  testsupport::TempDir dir;
  EXPECT_EQ(platform::NativePath("a\\b/c"), "a/b/c");
  platform::CreateDirectoriesAlong(dir.path() + "\\x\\y/out.rc");
  EXPECT_TRUE(dir.exists("x/y"));
  dir.write("a.klx", "x");
  EXPECT_TRUE(platform::SameFile(dir.file("a.klx"), dir.path() + "/./a.klx"));
  EXPECT_FALSE(platform::SameFile(dir.file("a.klx"), dir.file("b.klx")));
  dir.write("b", "");
  dir.write("B", "");
  dir.write("a", "");
  auto names = platform::ListDirectory(dir.path());
  EXPECT_EQ(names, (std::vector<std::string>{"B", "a", "a.klx", "b", "x"}));
  EXPECT_TRUE(platform::DeleteFile(dir.path() + "\\a"));
  EXPECT_FALSE(dir.exists("a"));
}
