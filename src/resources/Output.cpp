#include "resources/Output.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdarg>
#include <cstring>

#include "Common/Format.h"
#include "frontend/Lexer.h"
#include "frontend/Values.h"
#include "platform/Platform.h"

namespace tessel {

namespace {
constexpr char kLineEnd[] = "\r\n";
constexpr int kWordsPerLine = 8;
constexpr size_t kWordText = 7;  // 0xHHHH,

// The two upper-case hex digits of each byte.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
  std::array<std::array<char, 2>, 256> pairs{};
  for (int b = 0; b < 256; ++b) pairs[b] = {kUpperHexDigits[b >> 4], kUpperHexDigits[b & 15]};
  return pairs;
}();

// Writes the kWordText characters of a data word: "0x", the high byte, the low byte, a comma.
void PutWordText(char* at, uint8_t low, uint8_t high) {
  at[0] = '0';
  at[1] = 'x';
  std::memcpy(at + 2, kHexPairs[high].data(), 2);
  std::memcpy(at + 4, kHexPairs[low].data(), 2);
  at[6] = ',';
}

}  // namespace

void OutputWriter::HoldOutputs() {
  for (OutputSink& sink : sinks_) sink.Hold();
}

void OutputWriter::EndHold() {
  for (size_t i = 0; i < kTargets; ++i) sinks_[i].EndHold(held_[i]);
}

void OutputWriter::WriteHeld() {
  for (size_t i = 0; i < kTargets; ++i) sinks_[i].Append(held_[i]);
}

bool OutputWriter::OpenOutput(std::string name) {
  if (!Script().OpenFile(name)) return false;
  outputName_ = std::move(name);
  return true;
}

void OutputWriter::OpenMemoryOutput(std::string name) {
  Script().OpenMemory();
  outputName_ = std::move(name);
}

void OutputWriter::Flush() {
  if (!Script().Flush()) errors_.GeneralError("%s", "File write error");
}

bool OutputWriter::CloseOutput() {
  if (!Script().IsOpen()) return true;
  Flush();
  return Script().Commit();
}

void OutputWriter::DiscardOutput() {
  Script().Discard();
  // A list cut short by the error must not pass for the list of a finished run.
  OutputSink& list = Sink(OutputTarget::kResourceList);
  if (list.IsOpen()) {
    const bool file = !list.InMemory();
    list.Discard();
    if (file) platform::RemoveOutput(resourceListName_);
  }
}

void OutputWriter::WriteLine(std::string_view text, OutputTarget target) {
  WriteString(text, target);
  WriteNewLine(target);
}

void OutputWriter::WriteLineBlank(std::string_view text, OutputTarget target) {
  WriteString(text, target);
  WriteBytes("\r\n\r\n", 4, target);
}

void OutputWriter::WriteNewLine(OutputTarget target) { WriteBytes(kLineEnd, 2, target); }

void OutputWriter::WriteTabs(int count, OutputTarget target) {
  static constexpr char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
  for (; count > 0; count -= 16) WriteBytes(kTabs, static_cast<size_t>(std::min(count, 16)), target);
}

void OutputWriter::Printf(const char* format, ...) {
  if (!Writing()) return;
  va_list args;
  va_start(args, format);
  Script().AppendFormatV(format, args);
  va_end(args);
}

void OutputWriter::PrintfTo(OutputTarget target, const char* format, ...) {
  if (!Writing(target)) return;
  va_list args;
  va_start(args, format);
  Sink(target).AppendFormatV(format, args);
  va_end(args);
}

void OutputWriter::ListResource(const char* type, const char* id, int line) {
  if (keyExtraction_ || !listsResources_) return;
  OutputSink& list = Sink(OutputTarget::kResourceList);
  if (!resourceListTried_) {
    resourceListTried_ = true;
    size_t dot = outputName_.rfind('.');
    if (dot != std::string::npos) {
      resourceListName_ = outputName_.substr(0, dot) + ".reslist.txt";
      if (Script().InMemory()) {
        list.OpenMemory();
      } else if (!list.OpenFile(resourceListName_)) {
        errors_.SourceError("Can't open file: ", resourceListName_, {}, line);
      }
    }
  }
  if (!type || !id || !Writing(OutputTarget::kResourceList)) return;
  list.Append(type);
  list.Append(" ", 1);
  list.Append(id);
  list.Append(kLineEnd, 2);
}

void OutputWriter::StartDataBlock(int indent) {
  column_ = 1;
  pending_ = false;
  indent_ = indent;
}

// "0x%04X," with the tabs before the first word of a line and the line end after the eighth.
// With nothing written the column still counts: output may come back within the block.
void OutputWriter::WriteWord(uint16_t w) {
  if (!Writing()) {
    column_ = column_ % kWordsPerLine + 1;
    return;
  }
  if (column_ == 1) WriteTabs(indent_);
  char word[kWordText];
  PutWordText(word, static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8));
  OutputSink& script = Script();
  script.Append(word, sizeof word);
  if (++column_ > kWordsPerLine) {
    column_ = 1;
    script.Append(kLineEnd, 2);
  }
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

void OutputWriter::WriteDataBytes(std::string_view bytes) {
  size_t i = 0;
  if (pending_ && i < bytes.size()) WriteDataByte(static_cast<uint8_t>(bytes[i++]));
  if (Writing() && indent_ <= 16) {
    // Whole words go through a local buffer of whole lines: no call and no check per byte.
    constexpr size_t kLineRoom = 16 + kWordsPerLine * kWordText + 2;  // the most a turn writes
    char text[4096];
    size_t used = 0;
    OutputSink& script = Script();
    while (bytes.size() - i >= 2) {
      if (used > sizeof text - kLineRoom) {
        script.Append(text, used);
        used = 0;
      }
      if (column_ == 1) {
        std::memset(text + used, '\t', static_cast<size_t>(indent_));
        used += static_cast<size_t>(indent_);
        if (bytes.size() - i >= 2 * kWordsPerLine) {  // a whole line at once
          for (int w = 0; w < kWordsPerLine; ++w, i += 2, used += kWordText) {
            PutWordText(text + used, static_cast<uint8_t>(bytes[i]), static_cast<uint8_t>(bytes[i + 1]));
          }
          text[used++] = '\r';
          text[used++] = '\n';
          continue;
        }
      }
      PutWordText(text + used, static_cast<uint8_t>(bytes[i]), static_cast<uint8_t>(bytes[i + 1]));
      used += kWordText;
      i += 2;
      if (++column_ > kWordsPerLine) {
        column_ = 1;
        text[used++] = '\r';
        text[used++] = '\n';
      }
    }
    script.Append(text, used);
  } else if (!Writing()) {
    // Nothing is written: the column moves on by the words, in one step.
    const size_t words = (bytes.size() - i) / 2;
    column_ = static_cast<int>((static_cast<size_t>(column_ - 1) + words) % kWordsPerLine) + 1;
    i += 2 * words;
  }
  for (; i < bytes.size(); ++i) WriteDataByte(static_cast<uint8_t>(bytes[i]));
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
  const std::string_view body = LiteralBody(text);
  if (!Writing()) {
    // Nothing to write, and the block ends flushed at column 1 whatever its bytes: only the
    // escapes are decoded, for their errors.
    if (body.find('\\') != std::string_view::npos) DecodeLiteral(lex, body, lex.CodePage(), [](unsigned char) {});
    StartDataBlock(indent);
    return;
  }
  StartDataBlock(indent);
  literal_.clear();
  AppendDecodedLiteral(lex, body, lex.CodePage(), literal_);
  literal_.push_back('\0');
  WriteDataBytes(literal_);
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
