// The files a run read, and the dependency file (--depfile) that lists them for make, Ninja
// and CMake: one rule in the form a C compiler's -MD option writes.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tessel {

// Every file the run opened for reading, each once, in the order first opened, as opened
// (with '/' separators).
class ReadFiles {
 public:
  void Record(std::string_view path);
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
  std::unordered_set<std::string> seen_;
};

// A path as make reads it in a rule: a space as "\ ", '#' as "\#", '$' as "$$".
std::string EscapeDepfilePath(std::string_view path);

// "target: \\\n dep \\\n dep\n" with every path escaped.
std::string DepfileRule(std::string_view target, const std::vector<std::string>& dependencies);

}  // namespace tessel
