// Run-length compression of 8-bit BMP files (RLE8).
#pragma once

#include <cstdint>
#include <span>

#include "prepkit/Files.h"

namespace tessel::prepkit {

struct Rle8Options {
  bool transparent = false;  // runs of the transparent index become deltas
  uint8_t transparentIndex = 0;
};

// Appends the encoded runs of one row of pixels, then the end-of-line escape 00 00.
void CompressRow(std::span<const uint8_t> row, const Rle8Options& options, Bytes& out);

struct Rle8Result {
  enum Status {
    Compressed,
    Refused,  // not an uncompressed 8-bit BMP with a 40-byte information header, or it does not fit the file
    Larger,   // the compressed image would be larger than the uncompressed one
  } status = Refused;
  Bytes file;            // Compressed: the whole compressed BMP file
  uint64_t newSize = 0;  // Larger: the size the compressed file would have had
};

// Compresses a whole BMP file: headers and palette copied, the used-colour count made explicit,
// rows encoded bottom to top as stored, then the end-of-bitmap escape 00 01.
Rle8Result CompressBmp(std::span<const uint8_t> bmp, const Rle8Options& options);

}  // namespace tessel::prepkit
