// 'STR#', 'STRm', 'STRf' and 'STR ' resources.
#pragma once

#include <string>

namespace tessel {
struct Context;
struct ResourceType;
class Lexer;

void ConvertStringList(Context& ctx, const ResourceType& type);
void ConvertSingleString(Context& ctx, const ResourceType& type);

}  // namespace tessel
