// 'LAY2' and 'MEPS' resources.
#pragma once

namespace tessel {
struct Context;
struct ResourceType;
void ConvertLay2List(Context& ctx, const ResourceType& type);
void ConvertMepsList(Context& ctx, const ResourceType& type);
}  // namespace tessel
