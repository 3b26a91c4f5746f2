// 'STR#', 'STRm', 'STRf' and 'STR ' resources.
#pragma once

#include <string>

namespace tessel {
struct Context;
struct ResourceType;
class Lexer;

// Reads the resource ID on the keyword's line ("Resource ID is missing"), makes it the ID of
// messages and writes the block's first lines: the ID with the output type, and "BEGIN".
std::string BeginResourceBlock(Context& ctx, const char* outputType);

void ConvertStringList(Context& ctx, const ResourceType& type);
void ConvertSingleString(Context& ctx, const ResourceType& type);

// The bytes a string token stands for, without its enclosing quotes: a doubled quote
// gives one quote, a backslash escape its decoded byte, a double-byte character (code
// page of the lexer) its two bytes unchanged. A bad escape is reported by the lexer.
std::string LiteralBytes(Lexer& lex, const char* text);
}  // namespace tessel
