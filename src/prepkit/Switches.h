// Prepkit's switches: which arguments are switches, and the letter with its parameters.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::prepkit {

enum class Conversion {
  Data,       // D: text to a length-prefixed data file
  Makers,     // M: as D with every byte complemented
  Copyright,  // C: length-prefixed file complemented
  Mark,       // R: creator and type set in a 64-byte header
  Split,      // S: a part of a file
  Picture,    // B: BMP to picture file
  LineEnds,   // Z: text to Windows line ends
  Palette,    // P: BMP palette to palette file
  Help,       // ? and H: nothing converted
};

struct PictureFrame {
  int16_t y1 = 0, x1 = 0, y2 = 0, x2 = 0;
  uint16_t drawMode = 0;
};

struct Switch {
  Conversion conversion = Conversion::Data;
  std::array<char, 4> creator{}, type{};  // Mark
  uint64_t from = 0, to = 0;              // Split: bytes from up to (not including) to
  PictureFrame frame;                     // Picture
};

// An argument beginning with '-' is a switch; one beginning with '/' is a switch only when
// it holds no further '/', since absolute file names begin with '/' too.
bool IsSwitchArgument(std::string_view argument);

// Reads a switch argument ("/D", "-S10-20", "/B{0,0,32,32,1}"). On failure `error` holds the
// message and the returned switch is not to be used.
Switch ParseSwitch(std::string_view argument, std::string& error);

}  // namespace tessel::prepkit
