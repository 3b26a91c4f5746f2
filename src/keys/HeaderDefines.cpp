#include "keys/HeaderDefines.h"

#include <cstdio>
#include <exception>

#include "Common/Depfile.h"
#include "Common/Errors.h"
#include "platform/Platform.h"

namespace tessel {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int DigitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  return value < base ? value : -1;
}

// Reads an integer the way the "%hi" conversion does: optional sign, then "0x" for
// hexadecimal, a leading zero for octal, else decimal. False when no number stands here
// or its value lies outside the signed 16-bit range.
bool ReadShort(std::string_view text, size_t& pos, int& result) {
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  int base = 10;
  bool anyDigit = false;
  if (pos < text.size() && text[pos] == '0') {
    ++pos;
    anyDigit = true;
    base = 8;
    if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
      ++pos;
      base = 16;
    }
  }
  long value = 0;
  for (int digit; pos < text.size() && (digit = DigitValue(text[pos], base)) >= 0; ++pos) {
    anyDigit = true;
    if (value <= 32768) value = value * base + digit;
  }
  if (!anyDigit) return false;
  if (negative) value = -value;
  if (value < -32768 || value > 32767) return false;
  result = static_cast<int>(value);
  return true;
}

}  // namespace

void HeaderDefines::ReadText(std::string_view text) {
  size_t pos = 0;
  auto skipSpace = [&] {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
  };
  for (;;) {
    skipSpace();
    size_t nameStart = pos;
    while (pos < text.size() && !IsSpace(text[pos])) ++pos;
    if (pos == nameStart) return;
    std::string_view name = text.substr(nameStart, pos - nameStart);
    skipSpace();
    if (pos >= text.size() || text[pos] != '=') return;
    ++pos;
    skipSpace();
    int value = 0;
    if (!ReadShort(text, pos, value)) return;
    skipSpace();
    table_[std::string(name)] = std::to_string(value);
  }
}

bool HeaderDefines::ReadInput(const std::string& fileName) {
  bool failed = false;
  bool closed = true;
  try {
    FILE* file = platform::OpenFile(fileName, "r");
    if (!file) return true;
    if (reads_) reads_->Record(fileName);
    std::string text;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    closed = std::fclose(file) == 0;
    ReadText(text);
  } catch (const std::exception&) {
    failed = true;
  }
  if (failed) {
    std::fprintf(stderr, "Tessel: Caught error (%s) in HeaderDefines::ReadInput\n", fileName.c_str());
    errors_.Silent();
  }
  return closed;
}

}  // namespace tessel
