#include "platform/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <vector>

#include "platform/Platform.h"

namespace platform {

namespace {

constexpr int kMaxLinks = 40;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporaries a signal handler removes. A handler can reach no object of the run, so
// this is the one process-wide table: fixed slots, filled before they are marked used.
struct Slot {
  volatile sig_atomic_t used;
  char path[PATH_MAX];
};
constexpr int kSlots = 64;
Slot g_slots[kSlots];

int Register(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    if (g_slots[i].used) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].used = 1;
    return i;
  }
  return -1;
}

void Unregister(int& slot) {
  if (slot >= 0) g_slots[slot].used = 0;
  slot = -1;
}

extern "C" void RemoveTemporariesAndDie(int signal) {
  for (Slot& slot : g_slots) {
    if (slot.used) ::unlink(slot.path);
  }
  // The handler was installed with SA_RESETHAND: the signal, blocked until the handler
  // returns, then ends the process as if it had not been caught.
  ::raise(signal);
}

// Blocks the clean-up signals while a temporary file is created and registered.
class SignalBlock {
 public:
  SignalBlock() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, &saved_);
  }
  ~SignalBlock() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }

 private:
  sigset_t saved_;
};

// The name a path's bytes end up under: symbolic links followed, a dangling one too.
bool ResolveLinks(std::string path, std::string& resolved) {
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      resolved = path;
      return true;
    }
    std::vector<char> buf(PATH_MAX);
    ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return false;
    std::string target(buf.data(), static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    if (target[0] != '/' && slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    path = std::move(target);
  }
  errno = ELOOP;
  return false;
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Files up to this size are compared with the file they would replace.
constexpr off_t kCompareLimit = 1 << 20;

bool SameContent(int a, int b, off_t size) {
  char bufferA[16384], bufferB[16384];
  for (off_t at = 0; at < size;) {
    const size_t want = static_cast<size_t>(std::min<off_t>(size - at, sizeof bufferA));
    if (::pread(a, bufferA, want, at) != static_cast<ssize_t>(want) ||
        ::pread(b, bufferB, want, at) != static_cast<ssize_t>(want) || std::memcmp(bufferA, bufferB, want) != 0)
      return false;
    at += static_cast<off_t>(want);
  }
  return true;
}

// A small output whose bytes the file under its name already holds keeps that file, with
// its modification time set to now as if it had been written: renaming over a file costs the
// file system far more than reading a small one, and a build sees the same bytes and time.
bool KeepUnchanged(int written, const std::string& target) {
  struct stat mine, theirs;
  if (::fstat(written, &mine) != 0 || mine.st_size > kCompareLimit) return false;
  const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool kept = ::fstat(fd, &theirs) == 0 && S_ISREG(theirs.st_mode) && theirs.st_size == mine.st_size &&
                    (theirs.st_mode & 07777) == (mine.st_mode & 07777) && SameContent(written, fd, mine.st_size) &&
                    ::futimens(fd, nullptr) == 0;
  ::close(fd);
  return kept;
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this == &other) return *this;
  Discard();
  file_ = std::exchange(other.file_, nullptr);
  target_ = std::move(other.target_);
  temporary_ = std::exchange(other.temporary_, std::string());
  slot_ = std::exchange(other.slot_, -1);
  return *this;
}

bool OutputFile::Open(std::string_view path) {
  Discard();
  if (!ResolveLinks(NativePath(path), target_)) return false;
  struct stat st;
  bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    file_ = std::fopen(target_.c_str(), "wb");
    return file_ != nullptr;
  }
  size_t slash = target_.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  std::string name = dir + ".tessel-XXXXXX.tmp";
  std::vector<char> buf(name.begin(), name.end());
  buf.push_back('\0');
  int fd;
  {
    SignalBlock block;
    fd = ::mkstemps(buf.data(), 4);
    if (fd >= 0) {
      temporary_ = buf.data();
      slot_ = Register(temporary_);
    }
  }
  if (fd < 0) return false;
  // The replacement keeps the mode of the file it replaces; a new file gets the usual one.
  ::fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode());
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    Discard();
    return false;
  }
  return true;
}

bool OutputFile::Commit() {
  if (!file_) return false;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  const bool kept = ok && !temporary_.empty() && KeepUnchanged(::fileno(file_), target_);
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (temporary_.empty()) return ok;
  if (ok && !kept && std::rename(temporary_.c_str(), target_.c_str()) != 0) ok = false;
  if (kept) ::unlink(temporary_.c_str());
  if (!ok) ::unlink(temporary_.c_str());
  Unregister(slot_);
  temporary_.clear();
  return ok;
}

void OutputFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  Unregister(slot_);
  temporary_.clear();
}

bool RemoveOutput(std::string_view path) {
  std::string native = NativePath(path);
  struct stat st;
  return ::lstat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(native.c_str()) == 0;
}

void RemoveTemporariesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporariesAndDie;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) sigaddset(&action.sa_mask, s);
  for (int s : kSignals) {
    struct sigaction previous {};
    // A signal ignored by whoever started us (nohup) stays ignored.
    if (::sigaction(s, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(s, &action, nullptr);
  }
}

TemporaryName::TemporaryName(std::string_view path) : slot_(Register(NativePath(path))) {}

TemporaryName::~TemporaryName() { Unregister(slot_); }

}  // namespace platform
