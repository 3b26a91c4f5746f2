// printf-style formatting into a string, for the file names and lines of the image code.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tessel {

template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  int length = std::snprintf(nullptr, 0, format, args...);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
  std::snprintf(buffer.data(), buffer.size(), format, args...);
  return buffer.data();
}

}  // namespace tessel
