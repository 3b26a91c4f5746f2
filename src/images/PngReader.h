// Decoding of PNG files into 32-bit pixels for the cursor builder.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tessel {

// Rows bottom-up: element (height - 1 - y) * width + x holds pixel (x, y) of the file, whose
// row 0 is the top row. Each value is 0xAARRGGBB, so in little-endian memory order the bytes are
// blue, green, red, alpha. An empty pixel array means the file was not decoded.
struct PngImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Never reports an error of its own beyond libpng's message on standard error; a file that is
// missing, not a PNG or cannot be decoded gives an empty image. Files without an alpha channel
// (RGB, grey, palette, fewer than 8 bits) are expanded with opaque alpha; palette transparency
// becomes alpha.
PngImage ReadPngImage(std::string_view path);
// The same for the bytes of a PNG file.
PngImage DecodePngImage(std::string_view file);

}  // namespace tessel
