#include "Common/AnchorCheck.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel {

namespace {

struct AnchorLine {
  size_t start;  // the anchor word
  size_t end;
  size_t nextOccurrence = std::string_view::npos;  // first occurrence of the word at or after `end`
};

std::vector<AnchorLine> AnchorWords(std::string_view all) {
  std::vector<AnchorLine> lines;
  size_t line = 0;
  while (true) {
    size_t p = line;
    while (p < all.size() && (all[p] == '\r' || all[p] == '\n')) ++p;
    size_t end = p;
    while (end < all.size() && all[end] != '\0' && !std::strchr("\t\n\r $*/", all[end])) ++end;
    lines.push_back({p, end});
    size_t next = all.find("\r\n", line);
    if (next == std::string_view::npos) break;
    line = next + 2;
  }
  return lines;
}

// Finds, for every anchor word, its first occurrence at or after the word's end. One rolling-hash
// scan of the list per distinct word length: a line's word becomes pending once the scan has
// passed its end, and the next window that holds the same word settles every pending line of it.
void FindNextOccurrences(std::string_view all, std::vector<AnchorLine>& lines) {
  constexpr uint64_t kBase = 1099511628211ULL;
  std::map<size_t, std::vector<size_t>> byLength;  // word length -> lines, in list order
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t length = lines[i].end - lines[i].start;
    if (length > 0) byLength[length].push_back(i);
  }
  for (const auto& entry : byLength) {
    // Named copies: clang 14 cannot capture structured bindings in the lambda below.
    const size_t length = entry.first;
    const std::vector<size_t>& members = entry.second;
    if (length > all.size()) continue;
    std::unordered_map<std::string_view, std::vector<size_t>> pending;  // word -> waiting lines
    std::unordered_map<uint64_t, std::vector<std::string_view>> wordsByHash;
    auto hashOf = [&](size_t at) {
      uint64_t h = 0;
      for (size_t k = 0; k < length; ++k) h = h * kBase + static_cast<unsigned char>(all[at + k]);
      return h;
    };
    // A bit per hash prefix: most windows hold no anchor word and are passed over without a lookup.
    constexpr int kFilterBits = 20;
    std::vector<uint64_t> filter((size_t{1} << kFilterBits) / 64);
    auto filterSlot = [](uint64_t h) { return h >> (64 - kFilterBits); };
    for (size_t i : members) {
      std::string_view word = all.substr(lines[i].start, length);
      auto [it, added] = pending.try_emplace(word);
      if (!added) continue;
      uint64_t h = hashOf(lines[i].start);
      wordsByHash[h].push_back(word);
      filter[filterSlot(h) / 64] |= uint64_t{1} << (filterSlot(h) % 64);
    }
    uint64_t power = 1;  // kBase^(length-1), to drop the leading byte of a window
    for (size_t k = 1; k < length; ++k) power *= kBase;
    size_t next = 0;
    uint64_t h = hashOf(0);
    for (size_t q = 0; q + length <= all.size(); ++q) {
      if (q > 0) {
        h = (h - power * static_cast<unsigned char>(all[q - 1])) * kBase +
            static_cast<unsigned char>(all[q + length - 1]);
      }
      while (next < members.size() && lines[members[next]].end <= q) {
        size_t i = members[next++];
        pending[all.substr(lines[i].start, length)].push_back(i);
      }
      if (!(filter[filterSlot(h) / 64] >> (filterSlot(h) % 64) & 1)) continue;
      auto found = wordsByHash.find(h);
      if (found == wordsByHash.end()) continue;
      std::string_view window = all.substr(q, length);
      for (std::string_view word : found->second) {
        if (word != window) continue;
        for (size_t i : pending[word]) lines[i].nextOccurrence = q;
        pending[word].clear();
      }
    }
  }
}

}  // namespace

// The anchor word of each line is looked up once more after itself; only that first later
// occurrence is judged. It is a duplicate when it starts a line and is not the beginning of a
// longer name.
std::string DuplicatedAnchorWarnings(const std::string& list) {
  std::string_view all(list.c_str());  // the list ends at its first zero byte
  std::vector<AnchorLine> lines = AnchorWords(all);
  FindNextOccurrences(all, lines);
  std::string warnings;
  for (const AnchorLine& line : lines) {
    size_t found = line.nextOccurrence;
    if (found == std::string_view::npos) continue;
    size_t length = line.end - line.start;
    auto after = static_cast<unsigned char>(list.c_str()[found + length]);
    bool longerName = after == '-' || std::isdigit(after) || std::isupper(after) || after == '_';
    bool startsLine = found > 0 && (all[found - 1] == '\r' || all[found - 1] == '\n');
    if (!longerName && !std::islower(after) && startsLine) {
      warnings += "Duplicated Anchor: \"";
      warnings.append(all.substr(line.start, length));
      warnings += "\"\n";
    }
  }
  return warnings;
}

}  // namespace tessel
