// 'QALR' resources.
#pragma once

namespace tessel {
struct Context;
void ConvertAlert(Context& ctx);
}  // namespace tessel
