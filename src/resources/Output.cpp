#include "resources/Output.h"

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
  if (output_ && !script_.IsOpen()) std::fclose(output_);
}

bool OutputWriter::OpenOutput(std::string name) {
  if (!script_.Open(name)) return false;
  SetOutput(script_.Stream(), std::move(name));
  return true;
}

bool OutputWriter::CloseOutput() {
  bool ok = true;
  if (script_.IsOpen()) {
    ok = script_.Commit();
  } else if (output_) {
    ok = std::fclose(output_) == 0;
  }
  output_ = nullptr;
  return ok;
}

void OutputWriter::DiscardOutput() {
  if (script_.IsOpen()) {
    script_.Discard();
    output_ = nullptr;
  }
  CloseOutput();
  // A list cut short by the error must not pass for the list of a finished run.
  if (resourceList_.IsOpen()) {
    resourceList_.Discard();
    platform::RemoveOutput(resourceListName_);
  }
}

void OutputWriter::WriteBytes(const void* data, size_t count, FILE* file) {
  if (count == 0 || !enabled_ || keyExtraction_ || !file) return;
  if (std::fwrite(data, 1, count, file) != count) errors_.GeneralError("%s", "File write error");
}

void OutputWriter::WriteString(std::string_view text, FILE* file) { WriteBytes(text.data(), text.size(), file); }

void OutputWriter::WriteLine(std::string_view text, FILE* file) {
  WriteString(text, file);
  WriteNewLine(file);
}

void OutputWriter::WriteLineBlank(std::string_view text, FILE* file) {
  WriteString(text, file);
  WriteNewLine(file);
  WriteNewLine(file);
}

void OutputWriter::WriteNewLine(FILE* file) { WriteBytes(kLineEnd, 2, file); }

void OutputWriter::WriteTabs(int count, FILE* file) {
  if (count <= 0) return;
  std::string tabs(static_cast<size_t>(count), '\t');
  WriteString(tabs, file);
}

void OutputWriter::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatTextV(format, args);
  va_end(args);
  WriteString(text, output_);
}

void OutputWriter::PrintfTo(FILE* file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatTextV(format, args);
  va_end(args);
  WriteString(text, file);
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
  if (!resourceList_.IsOpen() || !type || !id) return;
  WriteLine(std::string(type) + " " + id, resourceList_.Stream());
}

bool OutputWriter::CloseResourceList() { return !resourceList_.IsOpen() || resourceList_.Commit(); }

void OutputWriter::StartDataBlock(int indent) {
  column_ = 1;
  pending_ = false;
  indent_ = indent;
}

void OutputWriter::WriteDataWord(uint16_t w) {
  if (column_ == 1) WriteTabs(indent_);
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X,", static_cast<unsigned>(w));
  WriteString(buf);
  if (++column_ > kWordsPerLine) {
    WriteNewLine();
    column_ = 1;
  }
}

void OutputWriter::WriteDataByte(uint8_t b) {
  if (!pending_) {
    pending_ = true;
    pendingByte_ = b;
    return;
  }
  pending_ = false;
  WriteDataWord(static_cast<uint16_t>((b << 8) | pendingByte_));
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
    char buf[16];
    std::snprintf(buf, sizeof buf, "\"\\x%02X\",", static_cast<unsigned>(pendingByte_));
    WriteString(buf);
    WriteNewLine();
    pending_ = false;
    column_ = 1;
  } else if (column_ != 1) {
    WriteNewLine();
    column_ = 1;
  }
}

void OutputWriter::WriteDataString(Lexer& lex, const char* text, int indent) {
  if (keyExtraction_ || !text) return;
  std::string copy(text);
  const char* p = Lexer::StripQuotes(copy.data());
  StartDataBlock(indent);
  const uint16_t codePage = lex.CodePage();
  while (*p) {
    if (codePage != 0 && p[1] && platform::IsLeadByte(codePage, static_cast<unsigned char>(p[0]))) {
      // a double-byte character: its second byte may be a backslash that starts no escape
      WriteDataByte(static_cast<uint8_t>(p[0]));
      WriteDataByte(static_cast<uint8_t>(p[1]));
      p += 2;
    } else if (p[0] == '"' && p[1] == '"') {
      WriteDataByte('"');
      p += 2;
    } else if (p[0] == '\\') {
      Escape e = DecodeEscape(lex, p);
      WriteDataByte(e.value);
      p += e.length;
    } else {
      WriteDataByte(static_cast<uint8_t>(*p++));
    }
  }
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
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
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
