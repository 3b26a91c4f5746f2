// 'MDID' resources.
#pragma once

namespace tessel {
struct Context;
void ConvertIdentifierPair(Context& ctx);
}  // namespace tessel
