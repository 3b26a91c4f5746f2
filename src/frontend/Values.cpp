#include "frontend/Values.h"

#include <cstdlib>
#include <cstring>

#include "frontend/Lexer.h"
#include "keys/KeyContext.h"
#include "platform/Platform.h"

namespace tessel {

namespace {

constexpr const char* kNotDecimal = "Illegal decimal integer value or undefined constant";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOctal(char c) { return c >= '0' && c <= '7'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool HasHexPrefix(const char* text) { return text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

// Converts a text that passed IsHex with its prefix.
uint32_t HexValue(const char* text) {
  uint32_t value = 0;
  for (const char* p = text + 2; *p; ++p) value = value * 16 + static_cast<uint32_t>(HexDigit(*p));
  return value;
}

// Converts a decimal text of a checked length.

struct SimpleEscape {
  char after;
  unsigned char value;
};
constexpr SimpleEscape kSimpleEscapes[] = {
    {'n', 10}, {'r', 13}, {'t', 9}, {'v', 11}, {'f', 12}, {'b', 8}, {'"', '"'}, {'\'', '\''}, {'\\', '\\'},
};

}  // namespace

bool IsDecimal(const char* text) {
  if (!text) return false;
  if (*text == '-') ++text;
  if (!*text) return false;
  for (; *text; ++text) {
    if (!IsDigit(*text)) return false;
  }
  return true;
}

bool IsHex(const char* text, bool withPrefix) {
  if (!text || std::strlen(text) > 10) return false;
  if (withPrefix) {
    if (!HasHexPrefix(text)) return false;
    text += 2;
  }
  if (!*text) return false;
  for (; *text; ++text) {
    if (HexDigit(*text) < 0) return false;
  }
  return true;
}

bool IsNumber(const char* text) { return IsDecimal(text) || IsHex(text, true); }

int32_t ParseLong(Lexer& lex, const char* text) {
  if (!IsDecimal(text)) lex.Fail(kNotDecimal);
  const size_t length = std::strlen(text);
  const bool fits = text[0] == '-' ? length < 12 && (length != 11 || std::strcmp(text, "-2147483648") <= 0)
                                   : length < 11 && (length != 10 || std::strcmp(text, "2147483648") < 0);
  if (!fits) lex.Fail("Long value is expected");
  return static_cast<int32_t>(std::strtoll(text, nullptr, 10));
}

namespace {
// The three short decimal parsers: a length limit first, then the range.
// One walk: the value of at most `maxLength` characters is exact in a long.
long ParseBoundedDecimal(Lexer& lex, const char* text, size_t maxLength, long low, long high, const char* message) {
  if (!IsDecimal(text)) lex.Fail(kNotDecimal);
  const bool negative = text[0] == '-';
  size_t length = negative ? 1 : 0;
  long magnitude = 0;
  for (const char* p = text + length; *p; ++p, ++length) {
    if (length >= maxLength) lex.Fail(message);
    magnitude = magnitude * 10 + (*p - '0');
  }
  const long value = negative ? -magnitude : magnitude;
  if (value < low || value > high) lex.Fail(message);
  return value;
}
}  // namespace

int16_t ParseShort(Lexer& lex, const char* text) {
  return static_cast<int16_t>(ParseBoundedDecimal(lex, text, 6, -32768, 32767, "Short value is expected"));
}

uint16_t ParseUShort(Lexer& lex, const char* text) {
  return static_cast<uint16_t>(ParseBoundedDecimal(lex, text, 6, 0, 65535, "Unsigned short value is expected"));
}

uint8_t ParseUChar(Lexer& lex, const char* text) {
  return static_cast<uint8_t>(ParseBoundedDecimal(lex, text, 4, 0, 255, "Unsigned char value is expected"));
}

uint32_t ParseHexLong(Lexer& lex, const char* text) {
  if (!IsHex(text, true)) lex.Fail("Hexadecimal long value is expected");
  return HexValue(text);
}

uint16_t ParseHexShort(Lexer& lex, const char* text) {
  if (!IsHex(text, true) || HexValue(text) > 0xFFFF) lex.Fail("Hexadecimal short value is expected");
  return static_cast<uint16_t>(HexValue(text));
}

uint16_t ParseShortValue(Lexer& lex, const char* text) {
  if (IsDecimal(text)) return ParseUShort(lex, text);
  if (IsHex(text, true)) return ParseHexShort(lex, text);
  lex.Fail("Decimal or hexadecimal short value is expected");
}

Escape DecodeEscape(Lexer& lex, const char* text) {
  constexpr const char* kBad = "Unrecognized character escape sequence";
  const char after = text[1];
  for (const SimpleEscape& e : kSimpleEscapes) {
    if (e.after == after) return {e.value, 2};
  }
  int hexStart = 0;
  if (after == 'x' || after == 'X') {
    hexStart = 2;
  } else if (after == '0' && (text[2] == 'x' || text[2] == 'X')) {
    hexStart = 3;
  }
  if (hexStart) {
    int value = 0;
    int i = hexStart;
    for (; HexDigit(text[i]) >= 0; ++i) {
      value = value * 16 + HexDigit(text[i]);
      if (value >= 128) lex.Fail(kBad);
    }
    if (i == hexStart) lex.Fail(kBad);
    return {static_cast<unsigned char>(value), i};
  }
  if (IsOctal(after)) {
    int value = 0;
    int i = 1;
    for (; i <= 3 && IsOctal(text[i]); ++i) value = value * 8 + (text[i] - '0');
    if (value > 127) lex.Fail(kBad);
    return {static_cast<unsigned char>(value), i};
  }
  lex.Fail(kBad);
}

std::string_view LiteralBody(const char* text) {
  const size_t length = std::strlen(text);
  if (length >= 2 && text[0] == '"' && text[length - 1] == '"') return {text + 1, length - 2};
  return {text, length};
}

namespace {
// Most literals hold nothing to decode: no doubled quote, no escape, no double-byte pair.
bool PlainLiteral(std::string_view body, uint16_t codePage) {
  return codePage == 0 && !std::memchr(body.data(), '\\', body.size()) && !std::memchr(body.data(), '"', body.size());
}
}  // namespace

long StringByteCount(Lexer& lex, const char* text) {
  if (lex.Keys() && lex.Keys()->IsKeyExtraction()) return 0;
  if (!text) return 0;
  const std::string_view body = LiteralBody(text);
  // The enclosing quotes count one each.
  long count = body.data() == text ? 0 : 2;
  if (PlainLiteral(body, lex.CodePage())) return count + static_cast<long>(body.size());
  DecodeLiteral(lex, body, lex.CodePage(), [&count](unsigned char) { ++count; });
  return count;
}

void AppendDecodedLiteral(Lexer& lex, std::string_view body, uint16_t codePage, std::string& out) {
  if (PlainLiteral(body, codePage)) {
    out.append(body);
    return;
  }
  DecodeLiteral(lex, body, codePage, [&out](unsigned char c) { out.push_back(static_cast<char>(c)); });
}

std::string LiteralBytes(Lexer& lex, const char* text) {
  std::string bytes;
  if (text) AppendDecodedLiteral(lex, LiteralBody(text), lex.CodePage(), bytes);
  return bytes;
}

}  // namespace tessel
