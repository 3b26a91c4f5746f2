// 'ACNF', 'ACP0' and 'CMND' resources.
#pragma once

#include <string>
#include <string_view>

namespace tessel {
struct Context;
struct ResourceType;
void ConvertConfigRecord(Context& ctx, const ResourceType& type);
void ConvertLabelValueList(Context& ctx, const ResourceType& type);
void ConvertCommandTable(Context& ctx, const ResourceType& type);

// The 'ACNF' text literal (quotes included) holding `bytes` bytes, padded with escaped zero
// bytes before its closing quote to the 32 bytes of its field.
std::string PaddedConfigText(std::string_view literal, long bytes);
// A text that can stand inside a /* */ comment: every "*/" becomes "* /".
std::string CommentSafe(std::string_view text);
}  // namespace tessel
