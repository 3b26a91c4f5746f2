#include "Common/OutputSink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

void OutputSink::MakeRoom(size_t count) {
  constexpr size_t kFirstSize = 4096;
  buffer_.resize(std::max({2 * buffer_.size(), used_ + count, kFirstSize}));
}

void OutputSink::AppendFormatV(const char* format, va_list args) {
  scratch_.clear();
  tessel::AppendFormatV(scratch_, format, args);
  Append(scratch_.data(), scratch_.size());
}

void OutputSink::Hold() {
  heldFrom_ = used_;
  heldBlockSize_ = blockSize_;
  // Nothing is handed on while bytes are held: reaching the block size ends the hold instead.
  blockSize_ = used_ + std::min(holdLimit_, SIZE_MAX - used_);
}

void OutputSink::EndHold(std::string& held) {
  if (heldFrom_ == kNotHolding) return;
  held.assign(buffer_.data() + heldFrom_, used_ - heldFrom_);
  used_ = heldFrom_;
  heldFrom_ = kNotHolding;
  blockSize_ = heldBlockSize_;
}

bool OutputSink::AtStart() const {
  if (memory_) return used_ == 0;
  return file_.IsOpen() && used_ == 0 && std::ftell(file_.Stream()) == 0;
}

bool OutputSink::HandOver() {
  if (memory_ || used_ == 0 || !file_.IsOpen()) return true;
  const size_t count = used_;
  used_ = 0;
  handedOver_ += count;
  return std::fwrite(buffer_.data(), 1, count, file_.Stream()) == count;
}

void OutputSink::WriteBlock() {
  if (heldFrom_ != kNotHolding) throw HoldTooLarge{};
  if (!HandOver() && errors_) errors_->GeneralError("%s", "File write error");
}

bool OutputSink::Flush() {
  WriteBlock();
  return !file_.IsOpen() || std::fflush(file_.Stream()) == 0;
}

bool OutputSink::OverwriteStart(std::string_view text) {
  if (memory_) {
    if (used_ < text.size()) {
      MakeRoom(text.size() - used_);
      used_ = text.size();
    }
    std::memcpy(buffer_.data(), text.data(), text.size());
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
  used_ = 0;
  handedOver_ = 0;
  memory_ = false;
  blockSize_ = SIZE_MAX;
  heldFrom_ = kNotHolding;
  file_.Discard();
}

}  // namespace tessel
