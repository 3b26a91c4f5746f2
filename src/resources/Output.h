// The output writer and the data-word writer: every byte of the script, the anchor
// list and the resource list goes through here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Common/Errors.h"
#include "Common/OutputSink.h"

namespace tessel {

class Lexer;

// The outputs the writer serves.
enum class OutputTarget { kScript, kAnchorList, kResourceList };

class OutputWriter {
 public:
  explicit OutputWriter(ErrorContext& errors)
      : errors_(errors), sinks_{OutputSink(&errors), OutputSink(&errors), OutputSink(&errors)} {}

  // Opens the script (see platform::OutputFile); false when it cannot be created.
  bool OpenOutput(std::string name);
  // Collects the script, and the resource list it names, in memory; `name` stands for the
  // script's file name.
  void OpenMemoryOutput(std::string name);
  const std::string& OutputFileName() const { return outputName_; }
  // The sink of an output, for what goes there beside the writer (the key list, the byte-order
  // mark, the run driver's handling of the anchor list).
  OutputSink& Sink(OutputTarget target) { return sinks_[static_cast<int>(target)]; }
  const OutputSink& Sink(OutputTarget target) const { return sinks_[static_cast<int>(target)]; }
  // Hands the collected script text to the file and flushes it.
  void Flush();
  // Closes the output after a fatal error, drops the unfinished script and deletes the
  // resource list (the driver deletes an older script of that name).
  void DiscardOutput();
  // Closes the script and moves it into place; false when that failed.
  bool CloseOutput();
  // During key extraction nothing is written.
  void SetKeyExtraction(bool on) { keyExtraction_ = on; }

  void WriteBytes(const void* data, size_t count, OutputTarget target = OutputTarget::kScript) {
    if (count == 0 || !Writing(target)) return;
    Sink(target).Append(static_cast<const char*>(data), count);
  }
  void WriteString(std::string_view text, OutputTarget target = OutputTarget::kScript) {
    WriteBytes(text.data(), text.size(), target);
  }
  void WriteLine(std::string_view text, OutputTarget target = OutputTarget::kScript);
  void WriteLineBlank(std::string_view text, OutputTarget target = OutputTarget::kScript);
  void WriteNewLine(OutputTarget target = OutputTarget::kScript);
  void WriteTabs(int count, OutputTarget target = OutputTarget::kScript);
  // printf-style write (see AppendFormatV) to the script, or to another output.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void PrintfTo(OutputTarget target, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void PrintfV(const char* format, va_list args, OutputTarget target = OutputTarget::kScript) {
    if (Writing(target)) Sink(target).AppendFormatV(format, args);
  }

  bool SetOutputEnabled(bool on) {
    bool previous = enabled_;
    enabled_ = on;
    return previous;
  }
  bool SuspendOutput() { return SetOutputEnabled(false); }
  bool OutputEnabled() const { return enabled_; }

  // Resource list: "<output up to its last dot>.reslist.txt", created on first use; a list
  // that cannot be created is reported at `line`. Runs that list no resources (modes d, h
  // and m) neither create nor touch it.
  void ListResource(const char* type, const char* id, int line = 0);
  void SetListsResources(bool on) { listsResources_ = on; }
  // Moves the finished list into place; false when that failed.
  bool CloseResourceList() { return Sink(OutputTarget::kResourceList).Commit(); }
  const std::string& ResourceListName() const { return resourceListName_; }  // empty until created

  // Holding back (see OutputSink::Hold): what the outputs take from HoldOutputs on is moved
  // aside by EndHold, and WriteHeld appends it after what was written in between.
  void HoldOutputs();
  void SetHoldLimit(size_t bytes) {
    for (OutputSink& sink : sinks_) sink.SetHoldLimit(bytes);
  }
  void EndHold();
  void WriteHeld();

  // Whether a write to `target` would store anything; callers skip building text when it would not.
  bool Writing(OutputTarget target = OutputTarget::kScript) const {
    return enabled_ && !keyExtraction_ && Sink(target).IsOpen();
  }

  // Data-word writer (to the script).
  void StartDataBlock(int indent);
  void WriteDataByte(uint8_t b);
  // The same for each byte of `bytes`, formatted a line at a time.
  void WriteDataBytes(std::string_view bytes);
  void WriteDataWord(uint16_t w);
  void WriteDataShort(uint16_t v);
  void WriteDataLong(uint32_t v);
  void FlushDataBytes();
  // A string token's bytes (quotes removed, doubled quotes and escapes decoded), a zero
  // byte, then the flush. Nothing during key extraction.
  void WriteDataString(Lexer& lex, const char* text, int indent);
  // Writes a GUID field; false (nothing written) when the text is not a GUID.
  bool WriteGuidData(const char* text);
  // Whether a text is a well-formed GUID for WriteGuidData.
  static bool IsGuidText(const char* text);

 private:
  void WriteWord(uint16_t w);
  OutputSink& Script() { return Sink(OutputTarget::kScript); }

  ErrorContext& errors_;
  static constexpr size_t kTargets = 3;  // the OutputTarget values
  OutputSink sinks_[kTargets];           // by OutputTarget
  std::string outputName_;
  bool enabled_ = true;
  bool keyExtraction_ = false;
  std::string resourceListName_;
  bool resourceListTried_ = false;
  bool listsResources_ = true;
  // data-word writer
  bool pending_ = false;
  uint8_t pendingByte_ = 0;
  int column_ = 1;
  int indent_ = 1;
  std::string literal_;         // the decoded bytes of WriteDataString
  std::string held_[kTargets];  // by OutputTarget
};

}  // namespace tessel
