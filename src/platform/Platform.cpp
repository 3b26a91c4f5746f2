#include "platform/Platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <langinfo.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {

std::string NativePath(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

std::string DirectoryOf(std::string_view native) {
  const size_t cut = native.rfind('/');
  return std::string(cut == std::string_view::npos ? "." : cut == 0 ? "/" : native.substr(0, cut));
}

FILE* OpenFile(std::string_view path, const char* mode) { return std::fopen(NativePath(path).c_str(), mode); }

bool ReadFile(std::string_view path, std::string& bytes, size_t limit) {
  bytes.clear();
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  // A regular file ends at its size; anything else is read until it ends.
  const size_t expected = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0;
  bool ok = expected <= limit;
  if (ok) bytes.resize(expected != 0 ? expected : 4096);
  size_t have = 0;
  while (ok && !(expected != 0 && have == expected)) {
    if (have == bytes.size()) {
      if (have > limit) break;
      bytes.resize(std::min(have * 2, limit + 1));
    }
    const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    have += static_cast<size_t>(n);
  }
  ::close(fd);
  if (have > limit) ok = false;
  bytes.resize(have);
  return ok;
}

void ReadCache::WatchDirectory(std::string_view dir) {
  watchedName_ = dir.empty() ? std::string(".") : NativePath(dir);
  directories_.clear();
}

bool ReadCache::Watched(const std::string& native) {
  std::string dir = DirectoryOf(native);
  auto known = directories_.find(dir);
  if (known != directories_.end()) return known->second;
  FileIdentity identity, watched;
  // A directory that cannot be told apart from the watched one counts as watched.
  const bool isWatched = watchedName_.empty() || !IdentifyFile(dir, identity) || !IdentifyFile(watchedName_, watched) ||
                         identity == watched;
  directories_.emplace(std::move(dir), isWatched);
  return isWatched;
}

const std::string* ReadCache::Read(std::string_view path, size_t limit) {
  std::string native = NativePath(path);
  auto kept = entries_.find(native);
  const bool watched = Watched(native);
  if (kept != entries_.end() && !watched) {
    return kept->second.found && kept->second.content.size() <= limit ? &kept->second.content : nullptr;
  }
  struct stat st;
  const bool exists = ::stat(native.c_str(), &st) == 0;
  const bool keepable = exists && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= kFileLimit &&
                        static_cast<uint64_t>(st.st_size) <= limit;
  const Stamp stamp =
      exists ? Stamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                     static_cast<uint64_t>(st.st_size), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
                     st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec}
             : Stamp{};
  if (kept != entries_.end()) {
    if (keepable && kept->second.found && kept->second.stamp == stamp) return &kept->second.content;
    kept_ -= kept->second.content.size();
    entries_.erase(kept);
  }
  if (!exists) {
    if (!watched) entries_.emplace(std::move(native), Entry{});  // nothing to open
    return nullptr;
  }
  if (!keepable || kept_ + static_cast<size_t>(st.st_size) > kTotalLimit) {
    return ReadFile(native, uncached_, limit) ? &uncached_ : nullptr;
  }
  std::string content;
  // A file that changed since the stat is kept under the older stamp (read again when watched).
  if (!ReadFile(native, content, limit)) return nullptr;
  kept_ += content.size();
  return &entries_.emplace(std::move(native), Entry{true, stamp, std::move(content)}).first->second.content;
}

void PrepareBuffer(void* data, size_t size) {
  constexpr size_t kWorthIt = 1 << 20;
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
  if (size < kWorthIt || end <= begin) return;
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

bool DeleteFile(std::string_view path) { return ::unlink(NativePath(path).c_str()) == 0; }

bool FileExists(std::string_view path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0;
}

bool IsExecutable(std::string_view path) {
  struct stat st;
  std::string native = NativePath(path);
  return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(native.c_str(), X_OK) == 0;
}

long long FileSize(std::string_view path) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}

bool IsRegularFile(std::string_view path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(std::string_view a, std::string_view b) {
  struct stat sa, sb;
  if (::stat(NativePath(a).c_str(), &sa) != 0 || ::stat(NativePath(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void CreateDirectoriesAlong(std::string_view path) {
  std::string native = NativePath(path);
  for (size_t i = 1; i < native.size(); ++i) {
    if (native[i] == '/') ::mkdir(native.substr(0, i).c_str(), 0777);
  }
}

namespace {
bool ReadEntries(const std::string& native, std::vector<std::string>& names, FileIdentity* identity = nullptr) {
  names.clear();
  DIR* d = ::opendir(native.c_str());
  if (!d) return false;
  if (identity) {
    struct stat st;
    if (::fstat(::dirfd(d), &st) != 0) {
      ::closedir(d);
      return false;
    }
    *identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  }
  while (dirent* e = ::readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names.emplace_back(e->d_name);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return true;
}
}  // namespace

std::vector<std::string> ListDirectory(std::string_view dir) {
  std::vector<std::string> names;
  ReadEntries(dir.empty() ? std::string(".") : NativePath(dir), names);
  return names;
}

bool ReadDirectory(std::string_view dir, std::vector<std::string>& names) {
  names.clear();
  return !dir.empty() && ReadEntries(NativePath(dir), names);
}

bool ReadDirectory(std::string_view dir, std::vector<std::string>& names, FileIdentity& identity) {
  names.clear();
  return !dir.empty() && ReadEntries(NativePath(dir), names, &identity);
}

std::string CurrentDirectory() {
  std::array<char, PATH_MAX> buf{};
  if (!::getcwd(buf.data(), buf.size())) return ".";
  return buf.data();
}

std::string FullPath(std::string_view path) {
  std::string native = NativePath(path);
  if (!native.empty() && native[0] == '/') return native;
  std::string cwd = CurrentDirectory();
  if (cwd.empty() || cwd.back() != '/') cwd += '/';
  return cwd + native;
}

std::string UniqueTempName(std::string_view dir, std::string_view prefix, std::string_view suffix) {
  std::string base = NativePath(dir);
  if (!base.empty() && base.back() != '/') base += '/';
  std::string templ = base + std::string(prefix) + "XXXXXX" + std::string(suffix);
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  int fd = ::mkstemps(buf.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return templ;
  ::close(fd);
  ::unlink(buf.data());
  return buf.data();
}

namespace {
struct CharsetCodePage {
  std::string_view name;
  uint16_t codePage;
};
constexpr std::array<CharsetCodePage, 24> kCharsets = {{
    {"SHIFT_JIS", 932}, {"SJIS", 932},       {"CP932", 932},   {"WINDOWS-31J", 932}, {"GBK", 936},     {"GB2312", 936},
    {"GB18030", 936},   {"EUC-CN", 936},     {"CP936", 936},   {"EUC-KR", 949},      {"UHC", 949},     {"CP949", 949},
    {"BIG5", 950},      {"BIG5-HKSCS", 950}, {"CP950", 950},   {"TIS-620", 874},     {"CP874", 874},   {"CP1250", 1250},
    {"CP1251", 1251},   {"CP1252", 1252},    {"CP1253", 1253}, {"CP1254", 1254},     {"CP1255", 1255}, {"CP1256", 1256},
}};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}
}  // namespace

uint16_t CodePageFromCharset(std::string_view charset) {
  for (const auto& entry : kCharsets) {
    if (EqualsNoCase(charset, entry.name)) return entry.codePage;
  }
  if (EqualsNoCase(charset, "CP1257")) return 1257;
  if (EqualsNoCase(charset, "CP1258")) return 1258;
  return 1252;
}

uint16_t SystemCodePage() {
  std::setlocale(LC_CTYPE, "");
  const char* charset = nl_langinfo(CODESET);
  uint16_t cp = CodePageFromCharset(charset ? charset : "");
  std::setlocale(LC_CTYPE, "C");
  return cp;
}

bool IsLeadByte(uint16_t codePage, unsigned char c) {
  switch (codePage) {
    case 932:
      return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950:
      return c >= 0x81 && c <= 0xFE;
    default:
      return false;
  }
}

void WaitForKey() {
  if (!::isatty(STDIN_FILENO)) return;
  termios saved;
  bool raw = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (raw) {
    termios t = saved;
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &t);
  }
  char c;
  [[maybe_unused]] ssize_t n = ::read(STDIN_FILENO, &c, 1);
  if (raw) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

std::string ProgramPath(const char* argv0) {
  if (argv0 && (std::strchr(argv0, '/') || std::strchr(argv0, '\\'))) return argv0;
  std::array<char, PATH_MAX> buf{};
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n > 0) return std::string(buf.data(), static_cast<size_t>(n));
  return argv0 ? argv0 : "";
}

int RunProgram(const std::vector<std::string>& argv, const std::string& workingDirectory) {
  if (argv.empty()) return -1;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (!workingDirectory.empty() && ::chdir(NativePath(workingDirectory).c_str()) != 0) ::_exit(127);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return -1;
}

std::string ExecutableDirectory() {
  std::array<char, PATH_MAX> buf{};
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  std::string path(buf.data(), static_cast<size_t>(n));
  size_t cut = path.rfind('/');
  return cut == std::string::npos ? std::string() : path.substr(0, cut == 0 ? 1 : cut);
}

bool IdentifyFile(std::string_view path, FileIdentity& identity) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) return false;
  identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

EntryState DirectoryEntry(std::string_view path) {
  struct stat st;
  if (::lstat(NativePath(path).c_str(), &st) == 0) return EntryState::present;
  return errno == ENOENT || errno == ENOTDIR ? EntryState::absent : EntryState::unknown;
}

void* LoadLibrary(std::string_view path, std::string& error) {
  void* library = ::dlopen(NativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!library) {
    const char* message = ::dlerror();
    error = message ? message : "unknown error";
  }
  return library;
}

void* LibrarySymbol(void* library, const char* name, std::string& error) {
  ::dlerror();
  void* symbol = ::dlsym(library, name);
  if (!symbol) {
    const char* message = ::dlerror();
    error = message ? message : std::string("symbol ") + name + " is null";
  }
  return symbol;
}

}  // namespace platform
