// 'DLGH' and 'DHLP' resources and the anchor list.
#pragma once

namespace tessel {
struct Context;
struct ResourceType;
// 'DLGH': the help list of a dialog, by item index.
void ConvertHelpList(Context& ctx, const ResourceType& type);
// 'DHLP': a plain list of help texts, numbered from 1.
void ConvertHelpTexts(Context& ctx, const ResourceType& type);
}  // namespace tessel
