// The body of a 'QDLG' resource: offset groups and the items of all 57 types.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessel {
struct Context;
}

namespace tessel::dialog {

inline constexpr int kMaxOffsetGroups = 31;

struct BodyTotals {
  uint16_t items = 0;
  long size = 0;  // sum of the item data sizes
};

// Reads the body up to, not including, the dialog's closing brace. The checking reading
// (`writing` false) writes nothing; the writing reading writes one block per item.
BodyTotals ReadDialogBody(Context& ctx, std::string_view dialogId, bool writing);

}  // namespace tessel::dialog
