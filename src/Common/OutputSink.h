// Where the bytes of one output go: a file (see platform::OutputFile), handed what was collected
// in large blocks, or memory, where the whole text stays for the caller to read.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/OutputFile.h"

namespace tessel {

class ErrorContext;

class OutputSink {
 public:
  // A failed write of a block is reported through `errors` ("File write error"); without it,
  // such failures show only in Commit.
  explicit OutputSink(ErrorContext* errors = nullptr) : errors_(errors) {}

  // Opens a file output; false when it cannot be created.
  bool OpenFile(std::string_view path);
  // Collects everything in memory (Text()).
  void OpenMemory();
  bool IsOpen() const { return memory_ || file_.IsOpen(); }
  // The bytes taken so far.
  size_t Size() const { return handedOver_ + used_; }
  bool InMemory() const { return memory_; }
  // See platform::OutputFile.
  bool InPlace() const { return file_.InPlace(); }
  const std::string& WorkingPath() const { return file_.WorkingPath(); }

  void Append(const char* data, size_t count) {
    if (count == 0) return;  // an empty view may have no data at all
    if (count > buffer_.size() - used_) MakeRoom(count);
    std::memcpy(buffer_.data() + used_, data, count);
    used_ += count;
    if (used_ >= blockSize_) WriteBlock();
  }
  void Append(std::string_view text) { Append(text.data(), text.size()); }
  // printf-style text, formatted by AppendFormatV (Common/Format.h).
  void AppendFormatV(const char* format, va_list args);

  // Holds back what is appended from here, so that text written later can go before it: none
  // of it reaches the file until EndHold moves it out, to be appended again. A hold that
  // reaches the hold limit throws HoldTooLarge (the caller takes another way).
  static constexpr size_t kHoldLimit = 4 << 20;
  struct HoldTooLarge {};
  void Hold();
  void SetHoldLimit(size_t bytes) { holdLimit_ = bytes; }
  // Ends the hold; the bytes taken during it move to `held`.
  void EndHold(std::string& held);

  // Nothing was taken yet, and a file stands at its start (a pipe or a terminal never does).
  bool AtStart() const;
  // Hands the collected bytes to the file and flushes its stream; false when the flush failed.
  bool Flush();
  // Writes `text` over the first bytes taken (after handing everything to the file); false
  // when the file cannot be repositioned.
  bool OverwriteStart(std::string_view text);
  // Hands everything to the file and moves it into place; false when a write, the close or the
  // rename failed. Reports nothing, so the error path can use it. A memory sink keeps its text.
  bool Commit();
  // Drops the bytes not handed on and the temporary file (a memory sink its text).
  void Discard();

  // Everything a memory sink took.
  std::string_view Text() const { return {buffer_.data(), used_}; }

 private:
  // A file is handed the collected bytes in blocks of this size.
  static constexpr size_t kBlock = 1 << 18;

  void MakeRoom(size_t count);
  bool HandOver();
  void WriteBlock();

  ErrorContext* errors_;
  platform::OutputFile file_;
  // The bytes taken are the first used_ of the buffer: a copy into room already there is all an
  // append costs on the way of every byte of the script.
  std::string buffer_;
  size_t used_ = 0;
  size_t handedOver_ = 0;        // to the file
  std::string scratch_;          // formatted text
  size_t blockSize_ = SIZE_MAX;  // a memory sink never hands on
  static constexpr size_t kNotHolding = SIZE_MAX;
  size_t heldFrom_ = kNotHolding;  // where the held bytes start in the buffer
  size_t heldBlockSize_ = 0;       // the block size to go back to
  size_t holdLimit_ = kHoldLimit;
  bool memory_ = false;
};

}  // namespace tessel
