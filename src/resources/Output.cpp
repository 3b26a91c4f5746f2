#include "resources/Output.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "Common/Format.h"
#include "frontend/Lexer.h"
#include "frontend/Values.h"
#include "platform/Platform.h"

namespace tessel {

namespace {
constexpr char kLineEnd[] = "\r\n";
constexpr int kWordsPerLine = 8;

}  // namespace

OutputWriter::~OutputWriter() {
  // Only a run cut short gets here with a file of its caller's still open.
  if (output_ && !script_.IsOpen()) {
    std::fwrite(buffer_.data(), 1, buffer_.size(), output_);
    std::fclose(output_);
  }
}

bool OutputWriter::OpenOutput(std::string name) {
  if (!script_.Open(name)) return false;
  SetOutput(script_.Stream(), std::move(name));
  return true;
}

void OutputWriter::WriteBlock() {
  if (buffer_.empty()) return;
  const size_t count = buffer_.size();
  const bool written = !output_ || std::fwrite(buffer_.data(), 1, count, output_) == count;
  buffer_.clear();
  if (!written) errors_.GeneralError("%s", "File write error");
}

void OutputWriter::Flush() {
  WriteBlock();
  if (output_ && std::fflush(output_) != 0) errors_.GeneralError("%s", "File write error");
}

bool OutputWriter::CloseOutput() {
  if (!output_) return true;
  Flush();
  const bool ok = script_.IsOpen() ? script_.Commit() : std::fclose(output_) == 0;
  output_ = nullptr;
  return ok;
}

void OutputWriter::DiscardOutput() {
  buffer_.clear();
  if (script_.IsOpen()) {
    script_.Discard();
  } else if (output_) {
    std::fclose(output_);
  }
  output_ = nullptr;
  // A list cut short by the error must not pass for the list of a finished run.
  if (resourceList_.IsOpen()) {
    resourceList_.Discard();
    platform::RemoveOutput(resourceListName_);
  }
}

void OutputWriter::WriteThrough(const void* data, size_t count, FILE* file) {
  if (std::fwrite(data, 1, count, file) != count) errors_.GeneralError("%s", "File write error");
}

void OutputWriter::WriteString(std::string_view text, FILE* file) { WriteBytes(text.data(), text.size(), file); }

void OutputWriter::WriteLine(std::string_view text, FILE* file) {
  WriteString(text, file);
  WriteNewLine(file);
}

void OutputWriter::WriteLineBlank(std::string_view text, FILE* file) {
  WriteString(text, file);
  WriteBytes("\r\n\r\n", 4, file);
}

void OutputWriter::WriteNewLine(FILE* file) { WriteBytes(kLineEnd, 2, file); }

void OutputWriter::WriteTabs(int count, FILE* file) {
  static constexpr char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
  for (; count > 0; count -= 16) WriteBytes(kTabs, static_cast<size_t>(std::min(count, 16)), file);
}

void OutputWriter::Printf(const char* format, ...) {
  if (!Writing(output_)) return;
  va_list args;
  va_start(args, format);
  AppendFormatV(buffer_, format, args);
  va_end(args);
  if (buffer_.size() >= kBlock) WriteBlock();
}

void OutputWriter::PrintfTo(FILE* file, const char* format, ...) {
  if (!Writing(file)) return;
  va_list args;
  va_start(args, format);
  if (file == output_) {
    AppendFormatV(buffer_, format, args);
    if (buffer_.size() >= kBlock) WriteBlock();
  } else {
    scratch_.clear();
    AppendFormatV(scratch_, format, args);
    WriteThrough(scratch_.data(), scratch_.size(), file);
  }
  va_end(args);
}

bool OutputWriter::SetOutputEnabled(bool on) {
  bool previous = enabled_;
  enabled_ = on;
  return previous;
}

void OutputWriter::ListResource(const char* type, const char* id, int line) {
  if (keyExtraction_ || !listsResources_) return;
  if (!resourceListTried_) {
    resourceListTried_ = true;
    size_t dot = outputName_.rfind('.');
    if (dot != std::string::npos) {
      resourceListName_ = outputName_.substr(0, dot) + ".reslist.txt";
      if (!resourceList_.Open(resourceListName_)) errors_.SourceError("Can't open file: ", resourceListName_, {}, line);
    }
  }
  if (!resourceList_.IsOpen() || !type || !id || !Writing(resourceList_.Stream())) return;
  scratch_.assign(type);
  scratch_ += ' ';
  scratch_ += id;
  scratch_ += kLineEnd;
  WriteThrough(scratch_.data(), scratch_.size(), resourceList_.Stream());
}

bool OutputWriter::CloseResourceList() { return !resourceList_.IsOpen() || resourceList_.Commit(); }

void OutputWriter::StartDataBlock(int indent) {
  column_ = 1;
  pending_ = false;
  indent_ = indent;
}

// "0x%04X," with the tabs before the first word of a line and the line end after the eighth.
void OutputWriter::WriteWord(uint16_t w) {
  const bool writing = Writing(output_);
  if (writing) {
    if (column_ == 1) WriteTabs(indent_);
    const char word[7] = {'0',
                          'x',
                          kUpperHexDigits[w >> 12],
                          kUpperHexDigits[(w >> 8) & 15],
                          kUpperHexDigits[(w >> 4) & 15],
                          kUpperHexDigits[w & 15],
                          ','};
    buffer_.append(word, sizeof word);
  }
  if (++column_ > kWordsPerLine) {
    column_ = 1;
    if (writing) buffer_.append(kLineEnd, 2);
  }
  if (writing && buffer_.size() >= kBlock) WriteBlock();
}

void OutputWriter::WriteDataWord(uint16_t w) { WriteWord(w); }

void OutputWriter::WriteDataByte(uint8_t b) {
  if (!pending_) {
    pending_ = true;
    pendingByte_ = b;
    return;
  }
  pending_ = false;
  WriteWord(static_cast<uint16_t>((b << 8) | pendingByte_));
}

void OutputWriter::WriteDataShort(uint16_t v) {
  WriteDataByte(static_cast<uint8_t>(v & 0xFF));
  WriteDataByte(static_cast<uint8_t>(v >> 8));
}

void OutputWriter::WriteDataLong(uint32_t v) {
  for (int i = 0; i < 4; ++i) WriteDataByte(static_cast<uint8_t>(v >> (8 * i)));
}

void OutputWriter::FlushDataBytes() {
  if (pending_) {
    if (column_ == 1) WriteTabs(indent_);
    const char escape[9] = {'"', '\\', 'x', kUpperHexDigits[pendingByte_ >> 4], kUpperHexDigits[pendingByte_ & 15], '"',
                            ',', '\r', '\n'};
    WriteString(std::string_view(escape, sizeof escape));
    pending_ = false;
    column_ = 1;
  } else if (column_ != 1) {
    WriteNewLine();
    column_ = 1;
  }
}

void OutputWriter::WriteDataString(Lexer& lex, const char* text, int indent) {
  if (keyExtraction_ || !text) return;
  StartDataBlock(indent);
  DecodeLiteral(lex, LiteralBody(text), lex.CodePage(), [this](unsigned char c) { WriteDataByte(c); });
  WriteDataByte(0);
  FlushDataBytes();
}

namespace {
// Reads the GUID groups (8, 4, 4, 2, 2 and six times 2 digits) into bytes in field order.
bool ParseGuid(const char* text, uint8_t bytes[16]) {
  static constexpr int kGroups[] = {8, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2};
  const char* p = text;
  int out = 0;
  auto hex = [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                       : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
  };
  for (int digits : kGroups) {
    while (*p && !std::isxdigit(static_cast<unsigned char>(*p))) ++p;
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i, ++p) {
      if (!std::isxdigit(static_cast<unsigned char>(*p))) return false;
      value = (value << 4) | static_cast<uint32_t>(hex(*p));
    }
    for (int i = digits / 2 - 1; i >= 0; --i) bytes[out++] = static_cast<uint8_t>(value >> (8 * i));
  }
  return !std::isxdigit(static_cast<unsigned char>(*p));
}
}  // namespace

bool OutputWriter::IsGuidText(const char* text) {
  uint8_t bytes[16];
  return text && ParseGuid(text, bytes);
}

bool OutputWriter::WriteGuidData(const char* text) {
  uint8_t b[16];
  if (!text || !ParseGuid(text, b)) return false;
  for (uint8_t v : {2, 0, 1, 0}) WriteDataByte(v);
  // The first three fields are stored lowest byte first; the parse gave them highest first.
  for (int i : {3, 2, 1, 0, 5, 4, 7, 6}) WriteDataByte(b[i]);
  for (int i = 8; i < 16; ++i) WriteDataByte(b[i]);
  WriteDataByte(0);
  return true;
}

}  // namespace tessel
