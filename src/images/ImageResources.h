// 'QICN', 'QCSR' and 'ICN#' resources.
#pragma once

#include <string>

namespace tessel {
struct Context;
void ConvertIcon(Context& ctx);
void ConvertCursor(Context& ctx);
void ConvertIconList(Context& ctx);
// Mode d: the dependency entries of an icon or cursor resource.
void ListIconDependency(Context& ctx, const std::string& destinationPath, int indent);
void ListCursorDependency(Context& ctx, const std::string& destinationPath, int indent);
}  // namespace tessel
