// 'QALR' resources.
#pragma once

namespace tessel {
struct Context;
struct ResourceType;
void ConvertAlert(Context& ctx, const ResourceType& type);
}  // namespace tessel
