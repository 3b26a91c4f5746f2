// printf-style formatting into a string, and the number formatting of the output writer.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessel {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);
// Appends the formatted text to `out`. The conversions d, i, u, x, X, c, s and %, with the flags
// - and 0, widths, precisions and the length letters, are formatted here without the C library;
// any other format is handed to vsnprintf, so the text is always the one printf makes.
void AppendFormatV(std::string& out, const char* format, va_list args);

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// Writes the decimal digits of `value` ending just before `end`; returns where they begin.
inline char* DecimalDigitsBefore(char* end, uint64_t value) {
  do {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return end;
}

// Writes `value` as printf's "%*u" does with this width (spaces before the digits); returns
// the end of what it wrote. `at` needs room for max(width, 20) characters.
inline char* PutDecimal(char* at, uint64_t value, int width = 0) {
  char digits[20];
  char* begin = DecimalDigitsBefore(digits + sizeof digits, value);
  const auto count = static_cast<int>(digits + sizeof digits - begin);
  for (int pad = width - count; pad > 0; --pad) *at++ = ' ';
  for (char* d = begin; d != digits + sizeof digits; ++d) *at++ = *d;
  return at;
}

// The decimal text of a number (as PutDecimal writes it), kept in place for a string_view.
class DecimalText {
 public:
  explicit DecimalText(uint64_t value) : end_(PutDecimal(digits_, value)) {}
  std::string_view View() const { return {digits_, static_cast<size_t>(end_ - digits_)}; }

 private:
  char digits_[20];
  char* end_;
};

}  // namespace tessel
