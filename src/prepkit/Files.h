// Prepkit's input and output files, and little-endian byte helpers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OutputFile.h"

namespace tessel::prepkit {

using Bytes = std::vector<uint8_t>;

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Opens for binary reading; false when the file cannot be opened or read (a directory).
  bool Open(std::string_view name);
  // The size in bytes; the position is left at the start.
  std::optional<uint64_t> Size();
  bool Seek(uint64_t offset);
  // Reads up to `count` bytes; fewer at the end of the file or on a read error (see Failed).
  size_t Read(uint8_t* data, size_t count);
  // Appends up to `count` bytes to `out`; returns how many were read.
  size_t ReadInto(Bytes& out, uint64_t count);
  int Get() { return std::getc(file_); }
  bool Failed() const { return std::ferror(file_) != 0; }
  // True when at least one more byte can be read.
  bool HasMore();

 private:
  FILE* file_ = nullptr;
};

// An output file that is removed again unless it was finished without a write failure.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  // Removes an existing regular file of that name, then creates it for binary writing.
  bool Create(std::string_view name);
  void Write(std::span<const uint8_t> data);
  void Put(uint8_t byte);
  // Moves the file into place; false (and the file removed) when any write failed.
  bool Finish();

 private:
  platform::OutputFile file_;
  std::string name_;
  bool failed_ = false;
};

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<Bytes> ReadWholeFile(std::string_view name);

inline uint16_t GetLE16(std::span<const uint8_t> data, size_t at) {
  return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}
inline uint32_t GetLE32(std::span<const uint8_t> data, size_t at) {
  return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
         static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}
inline void SetLE32(std::span<uint8_t> data, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
inline void AppendLE16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
inline void AppendLE32(Bytes& out, uint32_t value) {
  AppendLE16(out, static_cast<uint16_t>(value));
  AppendLE16(out, static_cast<uint16_t>(value >> 16));
}

}  // namespace tessel::prepkit
