#include "platform/OutputFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <string>

#include "TestSupport.h"
#include "platform/Platform.h"

namespace {

using testsupport::TempDir;

struct stat Lstat(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return st;
}

bool Write(platform::OutputFile& file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file.Stream()) == text.size();
}

TEST(OutputFile, NewAndRegularNamesAreWrittenAsideAndRenamedIntoPlace) {
  TempDir dir;
  for (bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "replacing a file" : "a new name");
    if (existing) {
      dir.write("out.rc", "old contents");
      chmod(dir.file("out.rc").c_str(), 0640);
    }
    const ino_t before = Lstat(dir.file("out.rc")).st_ino;
    platform::OutputFile file;
    ASSERT_TRUE(file.Open(dir.file("out.rc")));
    EXPECT_FALSE(file.InPlace());
    ASSERT_TRUE(Write(file, "new"));
    // Until the commit the name keeps what it held; the bytes wait in the same directory.
    EXPECT_EQ(dir.exists("out.rc"), existing);
    if (existing) {
      EXPECT_EQ(dir.read("out.rc"), "old contents");
    }
    EXPECT_EQ(platform::ListDirectory(dir.path()).size(), existing ? 2u : 1u);
    EXPECT_EQ(file.WorkingPath().rfind(dir.path() + "/.tessel-", 0), 0u) << file.WorkingPath();
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(dir.read("out.rc"), "new");
    EXPECT_EQ(platform::ListDirectory(dir.path()), std::vector<std::string>{"out.rc"});
    if (existing) {
      EXPECT_NE(Lstat(dir.file("out.rc")).st_ino, before);
      EXPECT_EQ(Lstat(dir.file("out.rc")).st_mode & 0777, 0640u);
    }
  }
}

// Committing the bytes a file already holds keeps that file (same inode, no temporary left)
// and sets its time to now; different bytes, size or mode replace it as usual. A small output
// collects its bytes in memory: nothing is created before the commit.
TEST(OutputFile, UnchangedBytesKeepTheFileAndRenewItsTime) {
  struct Case {
    const char* name;
    const char* newBytes;
    mode_t oldMode;
    bool kept;
  };
  const Case cases[] = {
      {"same bytes", "icon bytes", 0644, true},
      {"same size, other bytes", "icon BYTES", 0644, false},
      {"other size", "icon bytes!", 0644, false},
      {"same bytes, other mode", "icon bytes", 0600, false},
  };
  for (bool small : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (small ? ", small" : ""));
      TempDir dir;
      dir.write("a.ico", "icon bytes");
      chmod(dir.file("a.ico").c_str(), c.oldMode);
      const struct timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
      ASSERT_EQ(utimensat(AT_FDCWD, dir.file("a.ico").c_str(), past, 0), 0);
      const ino_t before = Lstat(dir.file("a.ico")).st_ino;
      platform::OutputFile file;
      if (c.oldMode != 0644) chmod(dir.file("a.ico").c_str(), 0644);  // the output takes 0644 ...
      ASSERT_TRUE(small ? file.OpenSmall(dir.file("a.ico")) : file.Open(dir.file("a.ico")));
      if (c.oldMode != 0644) chmod(dir.file("a.ico").c_str(), c.oldMode);  // ... the file has another mode
      ASSERT_TRUE(Write(file, c.newBytes));
      if (small) {
        EXPECT_EQ(platform::ListDirectory(dir.path()), std::vector<std::string>{"a.ico"});
      }
      ASSERT_TRUE(file.Commit());
      EXPECT_EQ(dir.read("a.ico"), c.newBytes);
      EXPECT_EQ(Lstat(dir.file("a.ico")).st_ino == before, c.kept);
      EXPECT_GT(Lstat(dir.file("a.ico")).st_mtim.tv_sec, 1000000000);
      EXPECT_EQ(platform::ListDirectory(dir.path()), std::vector<std::string>{"a.ico"});
    }
  }
}

// A small output goes to a new name, replaces a file with the file's mode, and leaves nothing
// when it is discarded.
TEST(OutputFile, SmallOutputsAreWrittenAtTheCommit) {
  TempDir dir;
  platform::OutputFile file;
  ASSERT_TRUE(file.OpenSmall(dir.file("new.png")));
  ASSERT_TRUE(Write(file, "png"));
  EXPECT_FALSE(dir.exists("new.png"));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(dir.read("new.png"), "png");

  chmod(dir.file("new.png").c_str(), 0640);
  ASSERT_TRUE(file.OpenSmall(dir.file("new.png")));
  ASSERT_TRUE(Write(file, "other png"));
  platform::OutputFile moved = std::move(file);  // the collected bytes move with it
  ASSERT_TRUE(Write(moved, " bytes"));
  ASSERT_TRUE(moved.Commit());
  EXPECT_EQ(dir.read("new.png"), "other png bytes");
  EXPECT_EQ(Lstat(dir.file("new.png")).st_mode & 0777, 0640u);

  ASSERT_TRUE(moved.OpenSmall(dir.file("gone.png")));
  ASSERT_TRUE(Write(moved, "x"));
  moved.Discard();
  EXPECT_EQ(platform::ListDirectory(dir.path()), std::vector<std::string>{"new.png"});
  EXPECT_FALSE(moved.OpenSmall(dir.file("missing/dir.png")));
}

TEST(OutputFile, DiscardLeavesTheNameAsItWas) {
  TempDir dir;
  dir.write("out.rc", "old");
  {
    platform::OutputFile file;
    ASSERT_TRUE(file.Open(dir.file("out.rc")));
    Write(file, "partial");
    file.Discard();
  }
  {
    platform::OutputFile dropped;  // neither committed nor discarded
    ASSERT_TRUE(dropped.Open(dir.file("new.rc")));
    Write(dropped, "partial");
  }
  EXPECT_EQ(platform::ListDirectory(dir.path()), std::vector<std::string>{"out.rc"});
  EXPECT_EQ(dir.read("out.rc"), "old");
}

TEST(OutputFile, LinksAreFollowedAndKept) {
  TempDir dir;
  dir.write("real/target.rc", "old");
  ASSERT_EQ(symlink("real/target.rc", dir.file("out.rc").c_str()), 0);
  ASSERT_EQ(symlink("real/missing.rc", dir.file("dangling.rc").c_str()), 0);
  ASSERT_EQ(symlink("dangling.rc", dir.file("chain.rc").c_str()), 0);
  for (const char* name : {"out.rc", "chain.rc"}) {
    platform::OutputFile file;
    ASSERT_TRUE(file.Open(dir.file(name)));
    Write(file, name);
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_TRUE(S_ISLNK(Lstat(dir.file("out.rc")).st_mode));
  EXPECT_TRUE(S_ISLNK(Lstat(dir.file("dangling.rc")).st_mode));
  EXPECT_TRUE(S_ISLNK(Lstat(dir.file("chain.rc")).st_mode));
  EXPECT_EQ(dir.read("real/target.rc"), "out.rc");
  EXPECT_EQ(dir.read("real/missing.rc"), "chain.rc");
  EXPECT_EQ(platform::ListDirectory(dir.file("real")), (std::vector<std::string>{"missing.rc", "target.rc"}));
  // Removing an output never removes a link or what it points to.
  EXPECT_FALSE(platform::RemoveOutput(dir.file("out.rc")));
  EXPECT_TRUE(dir.exists("real/target.rc"));
  EXPECT_TRUE(S_ISLNK(Lstat(dir.file("out.rc")).st_mode));
}

// Writes through a special file, commits, discards a second opening, tries to remove it: the
// file keeps its kind and nothing else appears beside it.
void ExpectWrittenInPlaceAndKept(const TempDir& dir, const std::string& path, mode_t kind) {
  {
    platform::OutputFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.InPlace());
    Write(file, "through it");
    EXPECT_TRUE(file.Commit());
  }
  {
    platform::OutputFile file;
    ASSERT_TRUE(file.Open(path));
    file.Discard();
  }
  EXPECT_FALSE(platform::RemoveOutput(path));
  EXPECT_EQ(Lstat(path).st_mode & S_IFMT, kind);
  EXPECT_EQ(platform::ListDirectory(dir.path()).size(), 1u);
}

TEST(OutputFile, AFifoIsWrittenInPlaceAndNeverRemoved) {
  TempDir dir;
  const std::string fifo = dir.file("out.rc");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Held open for reading and writing, so that opening it for writing does not wait.
  int reader = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ExpectWrittenInPlaceAndKept(dir, fifo, S_IFIFO);
  char buf[64] = {};
  EXPECT_EQ(read(reader, buf, sizeof buf), 10);
  EXPECT_STREQ(buf, "through it");
  close(reader);
}

TEST(OutputFile, ADeviceIsWrittenInPlaceAndNeverRemoved) {
  TempDir dir;
  const std::string node = dir.file("null");
  if (mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot create a device node here (mknod needs CAP_MKNOD); the FIFO case covers in-place writing";
  }
  ExpectWrittenInPlaceAndKept(dir, node, S_IFCHR);
}

TEST(OutputFile, RefusesADirectoryAndAMissingDirectory) {
  TempDir dir;
  dir.write("sub/x", "");
  platform::OutputFile file;
  EXPECT_FALSE(file.Open(dir.file("sub")));
  EXPECT_FALSE(file.Open(dir.file("missing/out.rc")));
  EXPECT_FALSE(file.Commit());
}

TEST(OutputFile, RemoveOutputDeletesOnlyRegularFiles) {
  TempDir dir;
  dir.write("a.rc", "x");
  dir.write("sub/x", "");
  EXPECT_TRUE(platform::RemoveOutput(dir.file("a.rc")));
  EXPECT_FALSE(dir.exists("a.rc"));
  EXPECT_FALSE(platform::RemoveOutput(dir.file("sub")));
  EXPECT_FALSE(platform::RemoveOutput(dir.file("none")));
}

}  // namespace
