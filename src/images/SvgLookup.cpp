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

bool FindSVG(std::string_view directory, std::string_view baseName, std::string& foundName) {
  std::vector<std::string> names;
  if (!platform::ReadDirectory(directory, names)) {
    std::fprintf(stderr, "# WARNING: FindSVG could not read the input directory %s\n", std::string(directory).c_str());
    return false;
  }
  for (const std::string& name : names) {
    if (MatchSVGName(name, baseName, nullptr, nullptr)) {
      foundName = name;
      return true;
    }
  }
  return false;
}

}  // namespace tessel
