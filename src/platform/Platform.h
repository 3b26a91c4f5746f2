// Stand-ins for the operating-system services the compiler needs: paths, files,
// directories, code pages, the console and starting a program.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// Every path handed to the system goes through here: each '\' becomes '/'.
std::string NativePath(std::string_view path);
// The directory part of a native path: "." when it has none, "/" for the root.
std::string DirectoryOf(std::string_view native);

FILE* OpenFile(std::string_view path, const char* mode);
// The whole content of a file, read to its end; false when it cannot be opened or read or
// holds more than `limit` bytes (`bytes` is then unspecified).
bool ReadFile(std::string_view path, std::string& bytes, size_t limit);
// Makes the pages of a large buffer that is about to be filled present at once, instead of one
// page fault per page as it is written; only advice (nothing happens where the system declines).
void PrepareBuffer(void* data, size_t size);
// The files a run embeds, kept by path so that a file named again is not looked up or read
// again (a run takes its inputs as they were when it first looked). Only the directory the run
// writes into is looked at on every read: there a kept content is used while the file's
// identity, size and times are those it was read with. Files over a size are read each time.
class ReadCache {
 public:
  // The directory the run writes its outputs into (an empty name: the current one).
  void WatchDirectory(std::string_view dir);
  // The content of the file; null when it cannot be opened or read, or holds more than `limit`
  // bytes. Valid until the next Read.
  const std::string* Read(std::string_view path, size_t limit);

 private:
  struct Stamp {
    uint64_t device, inode, size;
    int64_t modified, changed;  // nanoseconds
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  struct Entry {
    bool found = false;
    Stamp stamp{};
    std::string content;
  };
  bool Watched(const std::string& native);  // whether its directory is the watched one
  static constexpr size_t kFileLimit = 256 << 10;
  static constexpr size_t kTotalLimit = 4 << 20;
  std::unordered_map<std::string, Entry> entries_;     // by native path
  std::unordered_map<std::string, bool> directories_;  // whether watched, by native name
  std::string watchedName_;
  size_t kept_ = 0;
  std::string uncached_;
};

bool DeleteFile(std::string_view path);
bool FileExists(std::string_view path);
bool IsExecutable(std::string_view path);
// Size in bytes of an existing file, -1 when it does not exist.
long long FileSize(std::string_view path);
// True for an existing regular file (not a directory, device or pipe); links are followed.
bool IsRegularFile(std::string_view path);
// True when both names refer to one existing file (same device and inode).
bool SameFile(std::string_view a, std::string_view b);
// Creates every directory along the path, outer one first: each prefix that ends
// before a '\' or '/'. Failures are ignored.
void CreateDirectoriesAlong(std::string_view path);
// Entries of a directory (names only, no "." and ".."), sorted by name in byte order.
// Empty when the directory cannot be read.
std::vector<std::string> ListDirectory(std::string_view dir);
// As ListDirectory, but false when the directory cannot be read (an empty name included).
bool ReadDirectory(std::string_view dir, std::vector<std::string>& names);
// The current directory with '/' as separator (no trailing separator added here).
std::string CurrentDirectory();
// Absolute form of a path (relative ones taken from the current directory).
std::string FullPath(std::string_view path);
// A fresh file name "<dir>/<prefix>XXXXXX<suffix>" that did not exist; the file is not left behind.
std::string UniqueTempName(std::string_view dir, std::string_view prefix, std::string_view suffix);

// ANSI code page of a locale character set name (pure, for tests).
uint16_t CodePageFromCharset(std::string_view charset);
// ANSI code page of this process's locale.
uint16_t SystemCodePage();
// Whether byte c begins a double-byte character in the code page.
bool IsLeadByte(uint16_t codePage, unsigned char c);

// Waits for a key press, only when standard input is a terminal.
void WaitForKey();

// Path of the running program (argv[0] when it holds a separator, else /proc/self/exe).
std::string ProgramPath(const char* argv0);

// Starts a program without a shell and waits for it; returns its exit status,
// or -1 when it could not be started.
int RunProgram(const std::vector<std::string>& argv, const std::string& workingDirectory);

// Directory of the running program file (from /proc/self/exe, links resolved); empty when unknown.
std::string ExecutableDirectory();

// Which file a name stands for: device and inode (links followed).
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
bool IdentifyFile(std::string_view path, FileIdentity& identity);
// As ReadDirectory, also giving the identity of the directory that was read.
bool ReadDirectory(std::string_view dir, std::vector<std::string>& names, FileIdentity& identity);

// Whether a directory holds an entry of this name (a link counts whatever it points to);
// unknown when the system cannot tell (no permission, a name too long).
enum class EntryState { present, absent, unknown };
EntryState DirectoryEntry(std::string_view path);

// A shared library loaded with every symbol resolved at once, never unloaded. Null on failure,
// with the loader's message in `error`.
void* LoadLibrary(std::string_view path, std::string& error);
// The address of an exported symbol; null with the loader's message when it is missing.
void* LibrarySymbol(void* library, const char* name, std::string& error);

}  // namespace platform
