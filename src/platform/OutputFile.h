// How every output file is written, whatever kind of file its name stands for:
// - a regular file or a new name: the bytes go to a temporary file in the same directory,
//   which is renamed over the name when the output is committed, so that the name never
//   holds a partial file; when a small output's bytes (and mode) equal those the file already
//   holds, the file is kept and only its modification time set to now;
// - a symbolic link: followed (also when it dangles); its target is replaced the same way
//   and the link itself is kept;
// - anything else (a device, a FIFO, a socket): written in place, never deleted or replaced.
// The temporary files are removed when SIGINT, SIGTERM or SIGHUP ends the process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  OutputFile(OutputFile&& other) noexcept { *this = std::move(other); }
  OutputFile& operator=(OutputFile&& other) noexcept;
  // An output that was neither committed nor discarded is discarded.
  ~OutputFile();

  // Opens the output for binary writing (no directories are created); false on failure.
  bool Open(std::string_view path);
  // The same for a small output: its bytes are collected in memory and reach the file system
  // only at the commit, and only when they differ from what the file already holds.
  bool OpenSmall(std::string_view path);
  bool IsOpen() const { return file_ != nullptr; }
  FILE* Stream() const { return file_; }
  // The file the bytes go to before the commit: the temporary file, or the output itself
  // when it is written in place.
  const std::string& WorkingPath() const { return temporary_.empty() ? target_ : temporary_; }
  // Written in place: the output is no regular file and cannot be read back or replaced.
  bool InPlace() const { return file_ && temporary_.empty() && !inMemory_; }
  // Closes the file and moves it into place; false when a write, the close or the rename
  // failed (the temporary file is then removed, the output name left as it was).
  bool Commit();
  // Closes the file and removes the temporary file; the output name is left as it was.
  void Discard();

 private:
  bool Prepare(std::string_view path, bool& inPlace);
  int CreateTemporary();
  bool CommitMemory(bool ok);
  bool Install(bool ok, bool kept);

  FILE* file_ = nullptr;
  std::string target_;     // the name the bytes end up under, links resolved
  std::string temporary_;  // empty when written in place or collected in memory
  int slot_ = -1;          // place in the list of temporaries removed on a signal
  unsigned mode_ = 0;      // of the file the output replaces, or of a new file
  // The bytes of OpenSmall; the stream keeps the address of this, so it stays where it is.
  struct Memory {
    char* data = nullptr;  // malloc'ed by the stream
    size_t size = 0;
    ~Memory() { std::free(data); }
  };
  std::unique_ptr<Memory> memory_;
  bool inMemory_ = false;
};

// Removes an output of an earlier or a failed run: only a regular file is deleted; a link
// (and what it points to), a device, a FIFO or a socket is left alone.
bool RemoveOutput(std::string_view path);

// Lets SIGINT, SIGTERM and SIGHUP remove the temporary files of the outputs (and the names
// kept by TemporaryName) before they end the process with the signal's usual status.
void RemoveTemporariesOnSignals();

// Keeps a name in the list of temporaries removed on a signal while it lives (for a
// temporary file written by another program).
class TemporaryName {
 public:
  explicit TemporaryName(std::string_view path);
  TemporaryName(const TemporaryName&) = delete;
  TemporaryName& operator=(const TemporaryName&) = delete;
  ~TemporaryName();

 private:
  int slot_;
};

}  // namespace platform
