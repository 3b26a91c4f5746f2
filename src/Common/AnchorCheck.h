// The check of the anchor list for anchors that start more than one line.
#pragma once

#include <string>

namespace tessel {

// The "Duplicated Anchor" warning lines for an anchor list (lines ended by CR LF).
std::string DuplicatedAnchorWarnings(const std::string& list);

}  // namespace tessel
