#include "Common/AnchorCheck.h"

#include <cctype>
#include <cstring>
#include <string_view>

namespace tessel {

// For each line, the anchor word (up to a tab, line end, blank, '$', '*' or '/') is looked up
// once more after itself; only that first later occurrence is judged. It is a duplicate when it
// starts a line and is not the beginning of a longer name.
std::string DuplicatedAnchorWarnings(const std::string& list) {
  std::string warnings;
  std::string_view all(list);
  const char* buffer = list.c_str();
  size_t line = 0;
  while (true) {
    size_t p = line;
    while (p < all.size() && (buffer[p] == '\r' || buffer[p] == '\n')) ++p;
    size_t end = p;
    while (end < all.size() && buffer[end] != '\0' && !std::strchr("\t\n\r $*/", buffer[end])) ++end;
    std::string_view word = all.substr(p, end - p);
    size_t found = word.empty() ? std::string_view::npos : all.find(word, end);
    if (found != std::string_view::npos) {
      auto after = static_cast<unsigned char>(buffer[found + word.size()]);
      bool longerName = after == '-' || std::isdigit(after) || std::isupper(after) || after == '_';
      bool startsLine = found > 0 && (buffer[found - 1] == '\r' || buffer[found - 1] == '\n');
      if (!longerName && !std::islower(after) && startsLine) {
        warnings += "Duplicated Anchor: \"";
        warnings.append(word);
        warnings += "\"\n";
      }
    }
    size_t next = all.find("\r\n", line);
    if (next == std::string_view::npos) break;
    line = next + 2;
  }
  return warnings;
}

}  // namespace tessel
