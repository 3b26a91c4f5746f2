// Placeholder: replaced by the value parsers.
#include "frontend/Values.h"

namespace tessel {
bool IsDecimal(const char*) { return false; }
bool IsHex(const char*, bool) { return false; }
bool IsNumber(const char*) { return false; }
int32_t ParseLong(Lexer&, const char*) { return 0; }
int16_t ParseShort(Lexer&, const char*) { return 0; }
uint16_t ParseUShort(Lexer&, const char*) { return 0; }
uint8_t ParseUChar(Lexer&, const char*) { return 0; }
uint32_t ParseHexLong(Lexer&, const char*) { return 0; }
uint16_t ParseHexShort(Lexer&, const char*) { return 0; }
uint16_t ParseShortValue(Lexer&, const char*) { return 0; }
Escape DecodeEscape(Lexer&, const char*) { return {0, 2}; }
long StringByteCount(Lexer&, const char*) { return 0; }
}  // namespace tessel
