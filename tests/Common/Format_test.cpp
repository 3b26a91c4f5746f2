#include "Common/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

using tessel::FormatText;

namespace {
std::string Library(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Library(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}
}  // namespace

// Flag combinations that printf ignores are part of the table on purpose.
#pragma GCC diagnostic ignored "-Wformat"

// The formatter's own conversions and the ones it hands on must both give printf's text.
TEST(Format, MatchesPrintf) {
#define SAME(...) EXPECT_EQ(FormatText(__VA_ARGS__), Library(__VA_ARGS__)) << #__VA_ARGS__
  SAME("\t%ld, %ld,", 70000L % 65536, 70000L / 65536);
  SAME("%d %d %d %i", 0, -1, INT_MIN, INT_MAX);
  SAME("%ld %lu %lld %llu", LONG_MIN, ULONG_MAX, LLONG_MIN, ULLONG_MAX);
  SAME("%hu %hd %hhu %hhd", 70000, 40000, 300, 200);
  SAME("%zu %zd %u", static_cast<size_t>(123456789012), static_cast<ssize_t>(-5), 4000000000u);
  SAME("0x%04X, 0x%04lX, %02X, %x, %X", 0xAB, 0x12345UL, 7u, 0xDEADBEEFu, 0u);
  SAME("\"\\x%02lX%s", 5UL, "text\"");
  SAME("[%3u] [%10u] [%-5d] [%05d] [%-05d] [%5d] [%05d]", 7u, 123u, -12, -12, 3, -3, 0);
  SAME("[%.3d] [%8.3d] [%08.3d] [%.0d] [%5.0d] [%-8.3x]", 5, -5, 5, 0, 0, 255u);
  SAME("[%*s] [%-*s] [%*d]", 6, "ab", 6, "ab", 4, 9);
  SAME("[%-32s] [%-10s] [%.*s] [%.2s] [%5.1s]", "big.klx", "NUL", 3, "abcdef", "xyz", "xyz");
  SAME("[%c] [%3c] [%-3c] 100%%", 'a', 'b', 'c');
  SAME("no conversions at all");
  SAME("%s@%.2fx.png", "icon", 1.5);  // floating point: handed on
  SAME("[%+d] [% d] [%#x] [%#o] [%o]", 5, 5, 255u, 8u, 8u);
  SAME("%p|%s", static_cast<void*>(nullptr), "after a pointer");
#undef SAME
}

void Append(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& text, const char* format, ...) {
  va_list args;
  va_start(args, format);
  tessel::AppendFormatV(text, format, args);
  va_end(args);
}

TEST(Format, AppendsAfterExistingText) {
  std::string text = "head:";
  Append(text, "%u,", 1u);
  Append(text, "%.1f,", 2.25);  // a fallback keeps what was there before
  Append(text, "%s", "end");
  EXPECT_EQ(text, "head:1,2.2,end");
}

TEST(Format, PutDecimalAsPrintfWithAWidth) {
  for (uint64_t value : {0ull, 7ull, 42ull, 999ull, 1000ull, 65535ull, 18446744073709551615ull}) {
    for (int width : {0, 1, 3, 10, 25}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%*llu", width, static_cast<unsigned long long>(value));
      char text[64];
      char* end = tessel::PutDecimal(text, value, width);
      EXPECT_EQ(std::string(text, static_cast<size_t>(end - text)), expected) << value << " width " << width;
    }
  }
}
