#include "Common/AnchorCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tessel {

namespace {

struct AnchorLine {
  size_t start;  // the anchor word
  size_t end;
  size_t nextOccurrence = std::string_view::npos;  // first occurrence of the word at or after `end`
};

// The bytes that end the anchor word of a line.
constexpr std::array<bool, 256> kWordEnds = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("\t\n\r $*/", 8)) table[c] = true;
  return table;
}();

std::vector<AnchorLine> AnchorWords(std::string_view all) {
  std::vector<AnchorLine> lines;
  size_t line = 0;
  while (true) {
    size_t p = line;
    while (p < all.size() && (all[p] == '\r' || all[p] == '\n')) ++p;
    size_t end = p;
    while (end < all.size() && !kWordEnds[static_cast<unsigned char>(all[end])]) ++end;
    lines.push_back({p, end});
    size_t next = all.find("\r\n", line);
    if (next == std::string_view::npos) break;
    line = next + 2;
  }
  return lines;
}

// Finds, for every anchor word, its first occurrence at or after the word's end, in one pass over
// the list. From every position the text is followed for as long as it is the beginning of some
// anchor word (a bit filter over the hashes of all word beginnings tells); each whole word met on
// the way settles the lines of that word that end at or before the place where it was met.
void FindNextOccurrences(std::string_view all, std::vector<AnchorLine>& lines, size_t splitFrom) {
  constexpr uint64_t kBase = 1099511628211ULL;
  // The filters stay sparse however long the list grows (two bits per word character for the
  // beginnings, eight per word for the whole words) and small enough to stay in the cache.
  size_t wordChars = 0;
  for (const AnchorLine& line : lines) wordChars += line.end - line.start;
  auto bitsFor = [](size_t entries) {
    int bits = 16;
    while (bits < 34 && (size_t{1} << bits) < entries) ++bits;
    return bits;
  };
  const int beginBits = bitsFor(2 * wordChars), wholeBits = bitsFor(8 * lines.size());
  auto slotIn = [](uint64_t h, int bits) { return (h * 0x9E3779B97F4A7C15ULL) >> (64 - bits); };
  std::vector<uint64_t> beginnings((size_t{1} << beginBits) / 64);  // hashes of word prefixes
  std::vector<uint64_t> wholes((size_t{1} << wholeBits) / 64);      // hashes of whole words
  auto mark = [](std::vector<uint64_t>& bits, uint64_t at) { bits[at / 64] |= uint64_t{1} << (at % 64); };
  auto marked = [](const std::vector<uint64_t>& bits, uint64_t at) { return (bits[at / 64] >> (at % 64) & 1) != 0; };

  // Distinct words, and each word's lines in list order. The words are kept by the hash the scan
  // computes anyway (open addressing), so that a lookup hashes nothing again.
  const int tableBits = bitsFor(2 * lines.size());
  const size_t capacity = size_t{1} << tableBits;
  struct Entry {
    uint64_t hash;
    uint32_t word;  // UINT32_MAX: empty
  };
  std::vector<Entry> table(capacity, Entry{0, UINT32_MAX});
  std::vector<std::string_view> words;
  auto lookup = [&](uint64_t h, std::string_view text) -> Entry& {
    for (size_t at = slotIn(h, tableBits);; at = (at + 1) & (capacity - 1)) {
      Entry& e = table[at];
      if (e.word == UINT32_MAX || (e.hash == h && words[e.word] == text)) return e;
    }
  };
  std::vector<uint32_t> wordOf(lines.size(), UINT32_MAX);
  std::vector<uint32_t> lineCount;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view word = all.substr(lines[i].start, lines[i].end - lines[i].start);
    if (word.empty()) continue;
    uint64_t h = 0;
    for (unsigned char c : word) h = h * kBase + c;
    Entry& e = lookup(h, word);
    if (e.word == UINT32_MAX) {
      e = Entry{h, static_cast<uint32_t>(words.size())};
      words.push_back(word);
      lineCount.push_back(0);
      h = 0;
      for (unsigned char c : word) {
        h = h * kBase + c;
        mark(beginnings, slotIn(h, beginBits));
      }
      mark(wholes, slotIn(h, wholeBits));
    }
    wordOf[i] = e.word;
    ++lineCount[e.word];
  }
  std::vector<size_t> first(lineCount.size() + 1, 0);  // each word's lines: members[first[w]..first[w+1])
  for (size_t w = 0; w < lineCount.size(); ++w) first[w + 1] = first[w] + lineCount[w];
  std::vector<size_t> members(first.back());
  std::vector<size_t> next(first.begin(), first.end() - 1);  // each word's first unsettled line
  for (size_t i = 0; i < lines.size(); ++i) {
    if (wordOf[i] != UINT32_MAX) members[next[wordOf[i]]++] = i;
  }
  std::copy(first.begin(), first.end() - 1, next.begin());

  // The first byte and the first two bytes of every word (a one-byte word: its byte and any
  // other), so that most places are passed over without hashing.
  std::vector<uint64_t> pairs(65536 / 64);
  std::array<bool, 256> leads{};
  std::string leadSet;  // for the C library's span search, which is fast over a small set
  for (std::string_view word : words) {
    if (!leads[static_cast<unsigned char>(word[0])]) leadSet += word[0];
    leads[static_cast<unsigned char>(word[0])] = true;
    const unsigned lead = static_cast<unsigned char>(word[0]) << 8;
    if (word.size() == 1) {
      for (unsigned second = 0; second < 256; ++second) mark(pairs, lead | second);
    } else {
      mark(pairs, lead | static_cast<unsigned char>(word[1]));
    }
  }
  // The occurrences of whole words starting in [from, to), in the order of their places.
  auto scan = [&](size_t from, size_t to, auto&& found) {
    // `all` ends at the terminating zero of its string.
    for (size_t q = from; q < to; ++q) {
      q += std::strcspn(all.data() + q, leadSet.c_str());
      if (q >= to) break;
      const unsigned second = q + 1 < all.size() ? static_cast<unsigned char>(all[q + 1]) : 0;
      if (!marked(pairs, static_cast<unsigned>(static_cast<unsigned char>(all[q])) << 8 | second)) continue;
      uint64_t h = 0;
      // No word holds a byte that ends a word, so no occurrence reaches past one.
      for (size_t k = q; k < all.size() && !kWordEnds[static_cast<unsigned char>(all[k])]; ++k) {
        h = h * kBase + static_cast<unsigned char>(all[k]);
        if (!marked(beginnings, slotIn(h, beginBits))) break;
        if (!marked(wholes, slotIn(h, wholeBits))) continue;
        const uint32_t w = lookup(h, all.substr(q, k + 1 - q)).word;
        if (w != UINT32_MAX) found(q, w);
      }
    }
  };
  // An occurrence settles the lines of its word that end at or before it, in list order.
  auto settle = [&](size_t q, uint32_t w) {
    while (next[w] < first[w + 1] && lines[members[next[w]]].end <= q) lines[members[next[w]++]].nextOccurrence = q;
  };
  // A long list is scanned in two halves at once; the second half's occurrences settle after the
  // first half's, as one scan would have them.
  const size_t middle = all.size() >= splitFrom ? all.size() / 2 : all.size();
  std::vector<std::pair<size_t, uint32_t>> later;
  std::exception_ptr laterFailure;
  std::thread second;
  if (middle < all.size()) {
    try {
      second = std::thread([&] {
        try {
          scan(middle, all.size(), [&](size_t q, uint32_t w) { later.emplace_back(q, w); });
        } catch (...) {
          laterFailure = std::current_exception();
        }
      });
    } catch (const std::system_error&) {  // no thread to be had: one scan
      scan(0, all.size(), settle);
      return;
    }
  }
  try {
    scan(0, middle, settle);
  } catch (...) {
    if (second.joinable()) second.join();
    throw;
  }
  if (!second.joinable()) return;
  second.join();
  if (laterFailure) std::rethrow_exception(laterFailure);
  for (const auto& [q, w] : later) settle(q, w);
}

}  // namespace

// The anchor word of each line is looked up once more after itself; only that first later
// occurrence is judged. It is a duplicate when it starts a line and is not the beginning of a
// longer name.
std::string DuplicatedAnchorWarnings(const std::string& list, size_t splitFrom) {
  std::string_view all(list.c_str());  // the list ends at its first zero byte
  std::vector<AnchorLine> lines = AnchorWords(all);
  FindNextOccurrences(all, lines, splitFrom);
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
