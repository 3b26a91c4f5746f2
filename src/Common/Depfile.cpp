#include "Common/Depfile.h"

#include "platform/Platform.h"

namespace tessel {

void ReadFiles::Record(std::string_view path) {
  std::string native = platform::NativePath(path);
  if (seen_.insert(native).second) paths_.push_back(std::move(native));
}

std::string EscapeDepfilePath(std::string_view path) {
  std::string escaped;
  escaped.reserve(path.size());
  for (char c : path) {
    if (c == ' ' || c == '#')
      escaped += '\\';
    else if (c == '$')
      escaped += '$';
    escaped += c;
  }
  return escaped;
}

std::string DepfileRule(std::string_view target, const std::vector<std::string>& dependencies) {
  std::string rule = EscapeDepfilePath(platform::NativePath(target)) + ":";
  for (const std::string& path : dependencies) rule += " \\\n " + EscapeDepfilePath(path);
  rule += '\n';
  return rule;
}

}  // namespace tessel
