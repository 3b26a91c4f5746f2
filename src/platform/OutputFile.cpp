#include "platform/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace platform {

namespace {

constexpr int kMaxLinks = 40;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporaries a signal handler removes. A handler can reach no object of the run, so
// this is the one process-wide table: fixed slots, claimed (so that two threads never take the
// same one) and filled before they are marked used. Lock-free atomics are safe in a handler.
enum SlotState : int { kFree, kFilling, kUsed };
struct Slot {
  std::atomic<int> state;
  char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);
constexpr int kSlots = 64;
Slot g_slots[kSlots];

int Register(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].state.store(kUsed);
    return i;
  }
  return -1;
}

void Unregister(int& slot) {
  if (slot >= 0) g_slots[slot].state.store(kFree);
  slot = -1;
}

extern "C" void RemoveTemporariesAndDie(int signal) {
  for (Slot& slot : g_slots) {
    if (slot.state.load() == kUsed) ::unlink(slot.path);
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

// Whether the file `fd` holds `size` bytes equal to what `next` hands out piece by piece.
template <class Next>
bool FileHolds(int fd, off_t size, Next&& next) {
  char buffer[16384];
  for (off_t at = 0; at < size;) {
    const size_t want = static_cast<size_t>(std::min<off_t>(size - at, sizeof buffer));
    if (::pread(fd, buffer, want, at) != static_cast<ssize_t>(want) || !next(buffer, want, at)) return false;
    at += static_cast<off_t>(want);
  }
  return true;
}

// A small output whose bytes the file under its name already holds keeps that file, with
// its modification time set to now as if it had been written: renaming over a file costs the
// file system far more than reading a small one, and a build sees the same bytes and time.
// `holds` compares the file's content.
template <class Holds>
bool KeepIfHolding(const std::string& target, off_t size, mode_t mode, Holds&& holds) {
  if (size > kCompareLimit) return false;
  const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat theirs;
  const bool kept = ::fstat(fd, &theirs) == 0 && S_ISREG(theirs.st_mode) && theirs.st_size == size &&
                    (theirs.st_mode & 07777) == mode && holds(fd) && ::futimens(fd, nullptr) == 0;
  ::close(fd);
  return kept;
}

bool KeepUnchanged(int written, const std::string& target) {
  struct stat mine;
  if (::fstat(written, &mine) != 0) return false;
  return KeepIfHolding(target, mine.st_size, mine.st_mode & 07777, [&](int fd) {
    char other[16384];
    return FileHolds(fd, mine.st_size, [&](const char* data, size_t count, off_t at) {
      return ::pread(written, other, count, at) == static_cast<ssize_t>(count) && std::memcmp(data, other, count) == 0;
    });
  });
}

bool KeepUnchanged(std::string_view bytes, mode_t mode, const std::string& target) {
  const auto size = static_cast<off_t>(bytes.size());
  return KeepIfHolding(target, size, mode, [&](int fd) {
    return FileHolds(fd, size, [&](const char* data, size_t count, off_t at) {
      return std::memcmp(data, bytes.data() + at, count) == 0;
    });
  });
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
  mode_ = other.mode_;
  inMemory_ = std::exchange(other.inMemory_, false);
  memory_ = std::move(other.memory_);
  return *this;
}

// Resolves the name and decides how it is written: false for a directory or a failed
// resolution; `inPlace` for a name that is no regular file (opened here).
bool OutputFile::Prepare(std::string_view path, bool& inPlace) {
  Discard();
  inPlace = false;
  if (!ResolveLinks(NativePath(path), target_)) return false;
  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    inPlace = true;
    file_ = std::fopen(target_.c_str(), "wb");
    return file_ != nullptr;
  }
  // The replacement keeps the mode of the file it replaces; a new file gets the usual one.
  mode_ = exists ? (st.st_mode & 07777) : NewFileMode();
  return true;
}

int OutputFile::CreateTemporary() {
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
  if (fd >= 0) ::fchmod(fd, mode_);
  return fd;
}

bool OutputFile::Open(std::string_view path) {
  bool inPlace;
  if (!Prepare(path, inPlace)) return false;
  if (inPlace) return true;
  const int fd = CreateTemporary();
  if (fd < 0) return false;
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    Discard();
    return false;
  }
  return true;
}

bool OutputFile::OpenSmall(std::string_view path) {
  bool inPlace;
  if (!Prepare(path, inPlace)) return false;
  if (inPlace) return true;
  // What creating the temporary file would need, checked now so that a failure shows where it would.
  size_t slash = target_.rfind('/');
  std::string dir = slash == std::string::npos ? std::string(".") : target_.substr(0, slash + 1);
  if (::access(dir.c_str(), W_OK | X_OK) != 0) return false;
  memory_ = std::make_unique<Memory>();
  file_ = ::open_memstream(&memory_->data, &memory_->size);
  inMemory_ = file_ != nullptr;
  return file_ != nullptr;
}

bool OutputFile::Commit() {
  if (!file_) return false;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  if (inMemory_) return CommitMemory(ok);
  const bool kept = ok && !temporary_.empty() && KeepUnchanged(::fileno(file_), target_);
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (temporary_.empty()) return ok;
  return Install(ok, kept);
}

// Renames the written temporary file over the name (unless the name keeps its file) and lets
// it go; a failed or unneeded temporary file is removed.
bool OutputFile::Install(bool ok, bool kept) {
  if (ok && !kept && std::rename(temporary_.c_str(), target_.c_str()) != 0) ok = false;
  if (kept || !ok) ::unlink(temporary_.c_str());
  Unregister(slot_);
  temporary_.clear();
  return ok;
}

// The collected bytes: kept as the file when it already holds them, else written aside and
// renamed into place like any output.
bool OutputFile::CommitMemory(bool ok) {
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  inMemory_ = false;
  const std::unique_ptr<Memory> memory = std::move(memory_);
  const std::string_view bytes(memory->data ? memory->data : "", memory->size);
  if (!ok) return false;
  if (KeepUnchanged(bytes, mode_, target_)) return true;
  const int fd = CreateTemporary();
  if (fd < 0) return false;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) ok = false;
  return Install(ok, false);
}

void OutputFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  inMemory_ = false;
  memory_.reset();
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
