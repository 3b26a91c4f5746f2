#include "prepkit/Files.h"

#include <algorithm>

#include "platform/Platform.h"

namespace tessel::prepkit {

InputFile::~InputFile() {
  if (file_) std::fclose(file_);
}

bool InputFile::Open(std::string_view name) {
  file_ = platform::OpenFile(name, "rb");
  if (!file_) return false;
  // A directory opens on this system but fails at the first read.
  int c = std::getc(file_);
  if (c == EOF) return !std::ferror(file_);
  std::ungetc(c, file_);
  return true;
}

std::optional<uint64_t> InputFile::Size() {
  if (fseeko(file_, 0, SEEK_END) != 0) return std::nullopt;
  off_t size = ftello(file_);
  if (size < 0 || fseeko(file_, 0, SEEK_SET) != 0) return std::nullopt;
  return static_cast<uint64_t>(size);
}

bool InputFile::Seek(uint64_t offset) { return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0; }

size_t InputFile::Read(uint8_t* data, size_t count) { return std::fread(data, 1, count, file_); }

size_t InputFile::ReadInto(Bytes& out, uint64_t count) {
  constexpr uint64_t kChunk = 1 << 16;
  size_t total = 0;
  while (count > 0) {
    const size_t want = static_cast<size_t>(std::min(count, kChunk));
    const size_t start = out.size();
    out.resize(start + want);
    const size_t got = Read(out.data() + start, want);
    out.resize(start + got);
    total += got;
    count -= got;
    if (got < want) break;
  }
  return total;
}

bool InputFile::HasMore() {
  int c = std::getc(file_);
  if (c == EOF) return false;
  std::ungetc(c, file_);
  return true;
}

OutputFile::~OutputFile() {
  if (file_.IsOpen()) file_.Discard();
}

bool OutputFile::Create(std::string_view name) {
  name_ = name;
  platform::RemoveOutput(name);
  return file_.Open(name);
}

void OutputFile::Write(std::span<const uint8_t> data) {
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file_.Stream()) != data.size()) failed_ = true;
}

void OutputFile::Put(uint8_t byte) {
  if (std::putc(byte, file_.Stream()) == EOF) failed_ = true;
}

bool OutputFile::Finish() {
  if (failed_) {
    file_.Discard();
    return false;
  }
  if (!file_.Commit()) failed_ = true;
  return !failed_;
}

std::optional<Bytes> ReadWholeFile(std::string_view name) {
  InputFile input;
  if (!input.Open(name)) return std::nullopt;
  Bytes content;
  input.ReadInto(content, UINT64_MAX);
  if (input.Failed()) return std::nullopt;
  return content;
}

}  // namespace tessel::prepkit
