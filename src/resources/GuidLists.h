// 'LAY2' and 'MEPS' resources.
#pragma once

namespace tessel {
struct Context;
void ConvertLay2List(Context& ctx);
void ConvertMepsList(Context& ctx);
}  // namespace tessel
