// 'QICN', 'QCSR' and 'ICN#' resources.
#pragma once

#include <string>

namespace tessel {
struct Context;
struct ResourceType;
void ConvertIcon(Context& ctx, const ResourceType& type);
void ConvertCursor(Context& ctx, const ResourceType& type);
void ConvertIconList(Context& ctx, const ResourceType& type);
// Mode d: the dependency entries of an icon or cursor resource.
void ListIconDependency(Context& ctx, const std::string& destinationPath, int indent);
void ListCursorDependency(Context& ctx, const std::string& destinationPath, int indent);
}  // namespace tessel
