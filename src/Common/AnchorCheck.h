// The check of the anchor list for anchors that start more than one line.
#pragma once

#include <cstddef>
#include <string>

namespace tessel {

// The "Duplicated Anchor" warning lines for an anchor list (lines ended by CR LF). A list of at
// least `splitFrom` bytes is searched on two threads.
constexpr size_t kAnchorCheckSplitFrom = 1 << 20;
std::string DuplicatedAnchorWarnings(const std::string& list, size_t splitFrom = kAnchorCheckSplitFrom);

}  // namespace tessel
