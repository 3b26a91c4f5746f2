#include "images/SvgLookup.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <vector>

#include "platform/Platform.h"

namespace tessel {

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = Lower(c);
  return lower;
}

// Whether MatchSVGName can accept the name for some base: it holds a dot, optional blanks and a
// word "svg" in any case that ends the name or a blank follows.
bool CouldBeSvgSource(std::string_view name) {
  for (size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.', dot + 1)) {
    size_t at = dot + 1;
    while (at < name.size() && IsSpace(name[at])) ++at;
    if (name.size() - at >= 3 && EqualNoCase(name.substr(at, 3), "svg") &&
        (at + 3 == name.size() || IsSpace(name[at + 3]))) {
      return true;
    }
  }
  return false;
}

// A reader with the rules of a formatted scan: blanks in the pattern match any run of blanks,
// numbers and words skip leading blanks.
class NameScanner {
 public:
  explicit NameScanner(std::string_view text) : text_(text) {}

  bool Literal(char c) {
    if (IsSpace(c)) {
      SkipSpace();
      return true;
    }
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool Integer(int& value) {
    SkipSpace();
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) negative = text_[pos_++] == '-';
    size_t digits = pos_;
    long long v = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      v = v * 10 + (text_[pos_++] - '0');
      if (v > INT_MAX) return false;
    }
    if (pos_ == digits) return false;
    value = static_cast<int>(negative ? -v : v);
    return true;
  }

  bool Word(std::string_view& word) {
    SkipSpace();
    size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    word = text_.substr(start, pos_ - start);
    return !word.empty();
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

bool MatchSVGName(std::string_view fileName, std::string_view baseName, int* width, int* height) {
  if (fileName.size() < baseName.size()) return false;
  std::string_view prefix = fileName.substr(0, baseName.size());
  if (!EqualNoCase(prefix, baseName)) return false;

  // The pattern is the prefix as the file writes it, then "_<int>x<int>.<word>"; every
  // character of the prefix is a plain character, never a conversion.
  NameScanner scan(fileName);
  for (char c : prefix) {
    if (!scan.Literal(c)) return false;
  }
  int w = 0, h = 0;
  std::string_view extension;
  if (!scan.Literal('_') || !scan.Integer(w) || !scan.Literal('x') || !scan.Integer(h) || !scan.Literal('.') ||
      !scan.Word(extension)) {
    return false;
  }
  if (!EqualNoCase(extension, "svg")) return false;
  if (width) *width = w;
  if (height) *height = h;
  return true;
}

SvgSourceIndex::Result SvgSourceIndex::Find(std::string_view directory, std::string_view baseName,
                                            std::string& foundName) {
  auto listing = listings_.find(directory);
  if (listing == listings_.end()) {
    Listing fresh;
    std::vector<std::string> names;
    if (!platform::ReadDirectory(directory, names, fresh.identity)) return Result::unreadable;
    for (std::string& name : names) {
      if (CouldBeSvgSource(name)) fresh.sources.emplace(LowerCase(name), std::move(name));
    }
    listing = listings_.emplace(std::string(directory), std::move(fresh)).first;
  }
  // A match starts with the base name in any case: the candidates are one range of the set.
  // Of those that match, the first in byte order wins, as in a listing sorted by name.
  std::string lowerBase = LowerCase(baseName);
  const std::string* first = nullptr;
  const auto& sources = listing->second.sources;
  for (auto it = sources.lower_bound({lowerBase, std::string()});
       it != sources.end() && it->first.compare(0, lowerBase.size(), lowerBase) == 0; ++it) {
    if ((!first || it->second < *first) && MatchSVGName(it->second, baseName, nullptr, nullptr)) first = &it->second;
  }
  if (!first) return Result::none;
  foundName = *first;
  return Result::found;
}

void SvgSourceIndex::Changed(std::string_view path) {
  if (listings_.empty()) return;
  std::string native = platform::NativePath(path);
  size_t cut = native.rfind('/');
  std::string name = cut == std::string::npos ? native : native.substr(cut + 1);
  if (!CouldBeSvgSource(name)) return;
  std::string directory = platform::DirectoryOf(native);
  platform::FileIdentity identity;
  if (!platform::IdentifyFile(directory, identity)) return;
  platform::EntryState state = platform::DirectoryEntry(native);
  for (auto it = listings_.begin(); it != listings_.end();) {
    if (!(it->second.identity == identity)) {
      ++it;
    } else if (state == platform::EntryState::unknown) {
      it = listings_.erase(it);  // listed again on its next use
    } else {
      std::pair<std::string, std::string> entry(LowerCase(name), name);
      if (state == platform::EntryState::present) {
        it->second.sources.insert(std::move(entry));
      } else {
        it->second.sources.erase(entry);
      }
      ++it;
    }
  }
}

bool FindSVG(SvgSourceIndex& index, std::string_view directory, std::string_view baseName, std::string& foundName) {
  SvgSourceIndex::Result result = index.Find(directory, baseName, foundName);
  if (result == SvgSourceIndex::Result::unreadable) {
    std::fprintf(stderr, "# WARNING: FindSVG could not read the input directory %s\n", std::string(directory).c_str());
  }
  return result == SvgSourceIndex::Result::found;
}

}  // namespace tessel
