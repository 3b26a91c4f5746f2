// 'MDID' resources.
#pragma once

namespace tessel {
struct Context;
struct ResourceType;
void ConvertIdentifierPair(Context& ctx, const ResourceType& type);
}  // namespace tessel
