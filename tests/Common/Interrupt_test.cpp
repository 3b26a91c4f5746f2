// Whole runs stopped by a signal half-way through a large source.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "platform/Platform.h"

namespace {

using testsupport::TempDir;

// About 20 MB of string lists: seconds of work, so that the run is stopped in its loop.
const std::string& LargeSource() {
  static const std::string source = [] {
    std::string text;
    for (int id = 0; id < 120000; ++id) {
      text += "'STR#' " + std::to_string(id % 30000) + " \"Messages\" {\n";
      for (int i = 0; i < 8; ++i)
        text += "\t\"A message of some length to convert, number " + std::to_string(i) + "\"\n";
      text += "}\n";
    }
    return text;
  }();
  return source;
}

std::vector<std::string> Entries(const std::string& dir) { return platform::ListDirectory(dir); }

bool AllTemporary(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (name.rfind(".tessel-", 0) != 0) return false;
  }
  return true;
}

// Starts a conversion of the large source into out/, waits until its script, anchor list and
// resource list are being written, sends the signal and returns the wait status.
int InterruptedRun(const TempDir& dir, int signal) {
  dir.write("a.klx", LargeSource());
  dir.write("out/.keep", "");
  unlink(dir.file("out/.keep").c_str());
  pid_t pid = fork();
  if (pid == 0) {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, SIG_DFL);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    if (chdir(dir.path().c_str()) == 0) {
      execl(TESSEL_BINARY, "tessel", "-i", "a.klx", "-o", "out/app.rc", "-t", "w", static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Entries(dir.file("out")).size() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  kill(pid, signal);
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST(Interrupt, SignalsRemoveTheTemporaryFilesAndEndTheRunAsTheSignalDoes) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    TempDir dir;
    const int status = InterruptedRun(dir, signal);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the run was not stopped by the signal; status " << status;
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_EQ(Entries(dir.file("out")), std::vector<std::string>{});
  }
}

TEST(Interrupt, AKilledRunLeavesNoPartialFileUnderAnOutputName) {
  TempDir dir;
  const int status = InterruptedRun(dir, SIGKILL);
  ASSERT_TRUE(WIFSIGNALED(status));
  const std::vector<std::string> left = Entries(dir.file("out"));
  EXPECT_EQ(left.size(), 3u);
  EXPECT_TRUE(AllTemporary(left)) << ::testing::PrintToString(left);
}

}  // namespace
