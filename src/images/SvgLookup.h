// Finding the SVG source of an image: an entry of the image directory named
// <base>_<width>x<height>.svg (base and extension compared without regard to case).
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Platform.h"

namespace tessel {

// True when the file name is an SVG source name for the base name; stores its width and
// height where the pointers are not null.
bool MatchSVGName(std::string_view fileName, std::string_view baseName, int* width, int* height);

// The SVG sources of the image directories of one run: each directory is listed once and then
// searched from memory. The run reports every file it creates or deletes, so that a listing
// always gives the answer a fresh one would give at that moment.
class SvgSourceIndex {
 public:
  enum class Result { found, none, unreadable };
  // The first entry of the directory, in byte order of the names, that is an SVG source for
  // the base name.
  Result Find(std::string_view directory, std::string_view baseName, std::string& foundName);
  // The run created, replaced or deleted the file at this path.
  void Changed(std::string_view path);

 private:
  struct Listing {
    platform::FileIdentity identity;  // recognises the directory under any name
    // Only the entries that could be SVG sources, as (name in lower case, name).
    std::set<std::pair<std::string, std::string>> sources;
  };
  std::map<std::string, Listing, std::less<>> listings_;  // by the directory name as given
};

// The first entry of the directory, in name order, that is an SVG source for the base name.
// An empty or unreadable directory gets a warning on standard error and counts as no source.
bool FindSVG(SvgSourceIndex& index, std::string_view directory, std::string_view baseName, std::string& foundName);

}  // namespace tessel
