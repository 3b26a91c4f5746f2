// Typed value parsers for number texts and string escapes. Each reports its own
// message at the lexer's current line and does not return on error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace tessel {

class Lexer;

bool IsDecimal(const char* text);
bool IsHex(const char* text, bool withPrefix);
bool IsNumber(const char* text);

int32_t ParseLong(Lexer& lex, const char* text);
int16_t ParseShort(Lexer& lex, const char* text);
uint16_t ParseUShort(Lexer& lex, const char* text);
uint8_t ParseUChar(Lexer& lex, const char* text);
uint32_t ParseHexLong(Lexer& lex, const char* text);
uint16_t ParseHexShort(Lexer& lex, const char* text);
uint16_t ParseShortValue(Lexer& lex, const char* text);

struct Escape {
  unsigned char value;
  int length;  // characters taken, the backslash included
};
// Decodes the backslash escape at the start of the text.
Escape DecodeEscape(Lexer& lex, const char* text);
// Bytes a string token stands for (quotes included); 0 during key extraction.
long StringByteCount(Lexer& lex, const char* text);

// A string token's text between its enclosing quotes; the whole text when it is not quoted.
std::string_view LiteralBody(const char* text);

// The one walk over a literal's body: hands each byte it stands for to `put`. A double-byte
// character (lead byte of `codePage`, 0 for none) gives its two bytes unchanged, a doubled
// quote one quote, a backslash escape its decoded byte; a backslash that ends the body
// escapes nothing and is reported. Bad escapes are reported by the lexer.
template <class PutByte>
void DecodeLiteral(Lexer& lex, std::string_view body, uint16_t codePage, PutByte&& put) {
  const char* p = body.data();
  const char* end = p + body.size();
  while (p < end) {
    const auto c = static_cast<unsigned char>(*p);
    if (codePage != 0 && p + 1 < end && platform::IsLeadByte(codePage, c)) {
      put(c);
      put(static_cast<unsigned char>(p[1]));
      p += 2;
    } else if (c == '"' && p + 1 < end && p[1] == '"') {
      put(static_cast<unsigned char>('"'));
      p += 2;
    } else if (c == '\\') {
      static constexpr char kLoneBackslash[] = "\\";
      const Escape e = DecodeEscape(lex, p + 1 < end ? p : kLoneBackslash);
      put(e.value);
      p += e.length;
    } else {
      put(c);
      ++p;
    }
  }
}

// The same, appending the bytes to `out`.
void AppendDecodedLiteral(Lexer& lex, std::string_view body, uint16_t codePage, std::string& out);

// The bytes a string token stands for, without its enclosing quotes (see DecodeLiteral; code
// page of the lexer).
std::string LiteralBytes(Lexer& lex, const char* text);

}  // namespace tessel
