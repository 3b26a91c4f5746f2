#include "Common/AnchorCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel {

namespace {

// One anchor word: where it starts, its length, and the first later occurrence of it.
struct Anchor {
  size_t start;
  size_t length;
  size_t next = std::string_view::npos;
};

// Polynomial hashes of byte windows modulo the prime 2^61 - 1.
constexpr uint64_t kModulus = (uint64_t{1} << 61) - 1;
constexpr uint64_t kBase = 1000003;

uint64_t MulMod(uint64_t a, uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  const uint64_t folded = static_cast<uint64_t>(product & kModulus) + static_cast<uint64_t>(product >> 61);
  return folded >= kModulus ? folded - kModulus : folded;
}

uint64_t AddMod(uint64_t a, uint64_t b) {
  const uint64_t sum = a + b;
  return sum >= kModulus ? sum - kModulus : sum;
}

uint64_t Hash(std::string_view bytes) {
  uint64_t h = 0;
  for (unsigned char c : bytes) h = AddMod(MulMod(h, kBase), c + 1);
  return h;
}

// Finds, for every anchor of one length, the first occurrence of its word that starts at or
// after the word's end: one rolling pass over the list per distinct length, so the check stays
// linear in the list for any number of anchors.
void FindLaterOccurrences(std::string_view all, size_t length, const std::vector<Anchor*>& anchors) {
  if (all.size() < length) return;
  std::unordered_map<uint64_t, std::vector<size_t>> positions;
  for (const Anchor* a : anchors) positions.try_emplace(Hash(all.substr(a->start, length)));
  uint64_t drop = 1;  // kBase^(length - 1), the weight of the byte leaving the window
  for (size_t i = 1; i < length; ++i) drop = MulMod(drop, kBase);
  uint64_t h = Hash(all.substr(0, length));
  for (size_t i = 0;; ++i) {
    if (auto it = positions.find(h); it != positions.end()) it->second.push_back(i);
    if (i + length >= all.size()) break;
    const uint64_t leaving = MulMod(drop, static_cast<unsigned char>(all[i]) + 1);
    h = AddMod(MulMod(AddMod(h, kModulus - leaving), kBase), static_cast<unsigned char>(all[i + length]) + 1);
  }
  for (Anchor* a : anchors) {
    const std::string_view word = all.substr(a->start, length);
    const std::vector<size_t>& found = positions[Hash(word)];
    // Equal hashes of different windows are stepped over.
    for (auto it = std::lower_bound(found.begin(), found.end(), a->start + length); it != found.end(); ++it) {
      if (all.substr(*it, length) == word) {
        a->next = *it;
        break;
      }
    }
  }
}

}  // namespace

// For each line, the anchor word (up to a tab, line end, blank, '$', '*' or '/') is looked up
// once more after itself; only that first later occurrence is judged. It is a duplicate when it
// starts a line and is not the beginning of a longer name.
std::string DuplicatedAnchorWarnings(const std::string& list) {
  std::string_view all(list);
  const char* buffer = list.c_str();
  std::vector<Anchor> anchors;
  size_t line = 0;
  while (true) {
    size_t p = line;
    while (p < all.size() && (buffer[p] == '\r' || buffer[p] == '\n')) ++p;
    size_t end = p;
    while (end < all.size() && buffer[end] != '\0' && !std::strchr("\t\n\r $*/", buffer[end])) ++end;
    if (end > p) anchors.push_back({p, end - p});
    size_t next = all.find("\r\n", line);
    if (next == std::string_view::npos) break;
    line = next + 2;
  }

  std::map<size_t, std::vector<Anchor*>> byLength;
  for (Anchor& a : anchors) byLength[a.length].push_back(&a);
  for (const auto& [length, group] : byLength) FindLaterOccurrences(all, length, group);

  std::string warnings;
  for (const Anchor& a : anchors) {
    if (a.next == std::string_view::npos) continue;
    auto after = static_cast<unsigned char>(buffer[a.next + a.length]);
    bool longerName = after == '-' || std::isdigit(after) || std::isupper(after) || after == '_';
    bool startsLine = a.next > 0 && (buffer[a.next - 1] == '\r' || buffer[a.next - 1] == '\n');
    if (!longerName && !std::islower(after) && startsLine) {
      warnings += "Duplicated Anchor: \"";
      warnings.append(all.substr(a.start, a.length));
      warnings += "\"\n";
    }
  }
  return warnings;
}

}  // namespace tessel
