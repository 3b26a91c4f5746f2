#include "Common/OutputSink.h"

#include <algorithm>
#include <cstdio>

#include "Common/Errors.h"
#include "Common/Format.h"

namespace tessel {

bool OutputSink::OpenFile(std::string_view path) {
  Discard();
  if (!file_.Open(path)) return false;
  blockSize_ = kBlock;
  return true;
}

void OutputSink::OpenMemory() {
  Discard();
  memory_ = true;
}

void OutputSink::AppendFormatV(const char* format, va_list args) {
  tessel::AppendFormatV(buffer_, format, args);
  if (buffer_.size() >= blockSize_) WriteBlock();
}

bool OutputSink::AtStart() const {
  if (memory_) return buffer_.empty();
  return file_.IsOpen() && buffer_.empty() && std::ftell(file_.Stream()) == 0;
}

bool OutputSink::HandOver() {
  if (memory_ || buffer_.empty() || !file_.IsOpen()) return true;
  const size_t count = buffer_.size();
  const bool written = std::fwrite(buffer_.data(), 1, count, file_.Stream()) == count;
  buffer_.clear();
  return written;
}

void OutputSink::WriteBlock() {
  if (!HandOver() && errors_) errors_->GeneralError("%s", "File write error");
}

bool OutputSink::Flush() {
  WriteBlock();
  return !file_.IsOpen() || std::fflush(file_.Stream()) == 0;
}

bool OutputSink::OverwriteStart(std::string_view text) {
  if (memory_) {
    buffer_.replace(0, std::min(text.size(), buffer_.size()), text);
    return true;
  }
  if (!file_.IsOpen() || !HandOver() || std::fseek(file_.Stream(), 0, SEEK_SET) != 0) return false;
  std::fwrite(text.data(), 1, text.size(), file_.Stream());
  return true;
}

bool OutputSink::Commit() {
  if (memory_) return true;
  if (!file_.IsOpen()) return true;
  const bool written = HandOver();
  return file_.Commit() && written;
}

void OutputSink::Discard() {
  buffer_.clear();
  memory_ = false;
  blockSize_ = SIZE_MAX;
  file_.Discard();
}

}  // namespace tessel
