// 'QDLG' resources.
#pragma once

namespace tessel {
struct Context;
void ConvertDialog(Context& ctx);
}  // namespace tessel
