// 'DLGH' and 'DHLP' resources and the anchor list.
#pragma once

namespace tessel {
struct Context;
// `code` is RES_DLGH or RES_DHLP.
void ConvertDialogHelp(Context& ctx, int code);
}  // namespace tessel
