#include "platform/Platform.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

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

// In the directory the run writes into (with none named: every one), a kept content is given
// while the file is as it was read; any change reads it again.
TEST(ReadCache, GivesWhatAFreshReadWouldGive) {
  testsupport::TempDir dir;
  platform::ReadCache cache;
  const std::string name = dir.path() + "\\data.txt";  // the program's separator
  auto read = [&](size_t limit = 1000) {
    const std::string* content = cache.Read(name, limit);
    return content ? *content : std::string("(none)");
  };
  EXPECT_EQ(read(), "(none)");
  dir.write("data.txt", "first");
  EXPECT_EQ(read(), "first");
  EXPECT_EQ(read(), "first");
  dir.write("data.txt", "second");  // another size
  EXPECT_EQ(read(), "second");

  // The same size, another modification time: only the stamp tells.
  dir.write("data.txt", "thirds");
  const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.file("data.txt").c_str(), times, 0), 0);
  EXPECT_EQ(read(), "thirds");
  EXPECT_EQ(read(5), "(none)");  // over the limit
  ASSERT_EQ(std::rename(dir.file("data.txt").c_str(), dir.file("moved.txt").c_str()), 0);
  EXPECT_EQ(read(), "(none)");

  const std::string large(300 << 10, 'x');  // read each time, not kept
  dir.write("data.txt", large);
  EXPECT_EQ(read(large.size()), large);
  EXPECT_EQ(cache.Read(dir.path(), 1000), nullptr);  // a directory cannot be read
}

// Outside the directory the run writes into, a file is looked up once: a run takes its inputs as
// they were when it first looked. In that directory every read looks again.
TEST(ReadCache, KeepsWhatItFoundOutsideTheWatchedDirectory) {
  testsupport::TempDir dir;
  dir.write("in/data.txt", "first");
  dir.write("out/made.txt", "first");
  platform::ReadCache cache;
  cache.WatchDirectory(dir.path() + "\\out");
  auto read = [&](const std::string& name) {
    const std::string* content = cache.Read(dir.path() + "\\" + name, 1000);
    return content ? *content : std::string("(none)");
  };
  EXPECT_EQ(read("in/data.txt"), "first");
  EXPECT_EQ(read("in/later.txt"), "(none)");
  EXPECT_EQ(read("out/made.txt"), "first");
  EXPECT_EQ(read("out/later.txt"), "(none)");
  dir.write("in/data.txt", "second");
  dir.write("in/later.txt", "new");
  dir.write("out/made.txt", "second");
  dir.write("out/later.txt", "new");
  EXPECT_EQ(read("in/data.txt"), "first");
  EXPECT_EQ(read("in/later.txt"), "(none)");
  EXPECT_EQ(read("out/made.txt"), "second");
  EXPECT_EQ(read("out/later.txt"), "new");
}

TEST(Platform, DirectoryOf) {
  const std::pair<const char*, const char*> cases[] = {
      {"a.txt", "."}, {"/a.txt", "/"}, {"out/a.txt", "out"}, {"/x/y/a.txt", "/x/y"}, {"out/", "out"}};
  for (const auto& [path, dir] : cases) EXPECT_EQ(platform::DirectoryOf(path), dir) << path;
}
