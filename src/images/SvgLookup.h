// Finding the SVG source of an image: an entry of the image directory named
// <base>_<width>x<height>.svg (base and extension compared without regard to case).
#pragma once

#include <string>
#include <string_view>

namespace tessel {

// True when the file name is an SVG source name for the base name; stores its width and
// height where the pointers are not null.
bool MatchSVGName(std::string_view fileName, std::string_view baseName, int* width, int* height);

// The first entry of the directory, in name order, that is an SVG source for the base name.
// An empty or unreadable directory gets a warning on standard error and counts as no source.
bool FindSVG(std::string_view directory, std::string_view baseName, std::string& foundName);

}  // namespace tessel
