// Typed value parsers for number texts and string escapes. Each reports its own
// message at the lexer's current line and does not return on error.
#pragma once

#include <cstdint>

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

}  // namespace tessel
