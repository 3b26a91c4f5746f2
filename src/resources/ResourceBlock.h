// The first lines every block resource writes.
#pragma once

#include <string>

namespace tessel {
struct Context;

// Reads the resource ID on the keyword's line ("Resource ID is missing"), makes it the ID of
// messages and writes the block's first lines: the ID with the output type, and "BEGIN".
std::string BeginResourceBlock(Context& ctx, const char* outputType);
}  // namespace tessel
