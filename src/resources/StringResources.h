// 'STR#', 'STRm', 'STRf' and 'STR ' resources.
#pragma once

namespace tessel {
struct Context;
void ConvertStringList(Context& ctx, const char* outputType);
void ConvertSingleString(Context& ctx);
}  // namespace tessel
