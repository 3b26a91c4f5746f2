// 'ACNF', 'ACP0' and 'CMND' resources.
#pragma once

namespace tessel {
struct Context;
void ConvertConfigRecord(Context& ctx);
void ConvertLabelValueList(Context& ctx);
void ConvertCommandTable(Context& ctx);
}  // namespace tessel
