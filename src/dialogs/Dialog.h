// 'QDLG' resources.
#pragma once

namespace tessel {
struct Context;
struct ResourceType;
void ConvertDialog(Context& ctx, const ResourceType& type);
}  // namespace tessel
