// The output writer and the data-word writer: every byte of the script, the anchor
// list and the resource list goes through here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "Common/Errors.h"
#include "platform/OutputFile.h"

namespace tessel {

class Lexer;

class OutputWriter {
 public:
  explicit OutputWriter(ErrorContext& errors) : errors_(errors) {}
  ~OutputWriter();

  // Opens the script (see platform::OutputFile); false when it cannot be created.
  bool OpenOutput(std::string name);
  // A script file opened by the caller (closed by CloseOutput).
  void SetOutput(FILE* file, std::string name) {
    output_ = file;
    outputName_ = std::move(name);
  }
  FILE* OutputFile() const { return output_; }
  const std::string& OutputFileName() const { return outputName_; }
  // Closes the output after a fatal error, drops the unfinished script and deletes the
  // resource list (the driver deletes an older script of that name).
  void DiscardOutput();
  // Closes the script and moves it into place; false when that failed.
  bool CloseOutput();
  // During key extraction nothing is written.
  void SetKeyExtraction(bool on) { keyExtraction_ = on; }

  void WriteBytes(const void* data, size_t count, FILE* file);
  void WriteString(std::string_view text, FILE* file);
  void WriteString(std::string_view text) { WriteString(text, output_); }
  void WriteLine(std::string_view text, FILE* file);
  void WriteLine(std::string_view text) { WriteLine(text, output_); }
  void WriteLineBlank(std::string_view text, FILE* file);
  void WriteLineBlank(std::string_view text) { WriteLineBlank(text, output_); }
  void WriteNewLine(FILE* file);
  void WriteNewLine() { WriteNewLine(output_); }
  void WriteTabs(int count, FILE* file);
  void WriteTabs(int count) { WriteTabs(count, output_); }
  // printf-style write to the output file.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void PrintfTo(FILE* file, const char* format, ...) __attribute__((format(printf, 3, 4)));

  bool SetOutputEnabled(bool on);
  bool SuspendOutput() { return SetOutputEnabled(false); }
  bool OutputEnabled() const { return enabled_; }

  // Resource list: "<output up to its last dot>.reslist.txt", created on first use; a list
  // that cannot be created is reported at `line`. Runs that list no resources (modes d, h
  // and m) neither create nor touch it.
  void ListResource(const char* type, const char* id, int line = 0);
  void SetListsResources(bool on) { listsResources_ = on; }
  // Moves the finished list into place; false when that failed.
  bool CloseResourceList();
  const std::string& ResourceListName() const { return resourceListName_; }

  // Data-word writer (to the output file).
  void StartDataBlock(int indent);
  void WriteDataByte(uint8_t b);
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
  ErrorContext& errors_;
  FILE* output_ = nullptr;
  std::string outputName_;
  platform::OutputFile script_;
  bool enabled_ = true;
  bool keyExtraction_ = false;
  platform::OutputFile resourceList_;
  std::string resourceListName_;
  bool resourceListTried_ = false;
  bool listsResources_ = true;
  // data-word writer
  bool pending_ = false;
  uint8_t pendingByte_ = 0;
  int column_ = 1;
  int indent_ = 1;
};

}  // namespace tessel
