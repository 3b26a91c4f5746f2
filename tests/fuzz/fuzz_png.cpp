// The PNG reader on arbitrary file bytes: it must either decode a whole image or give an
// empty one, and never read or write outside its buffers. The chunk checksums of the input are
// set right before it is read, so that mutated chunks reach the decoder instead of failing
// their check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../images/ImageTestSupport.h"
#include "FuzzSupport.h"
#include "images/PngReader.h"

namespace {

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<unsigned char>(bytes[at + 3]);
}

// Rewrites the CRC of every whole chunk after the 8-byte signature.
void FixChunkChecksums(std::string& file) {
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const uint32_t length = BigEndian32(file, at);
    if (length > file.size() - at - 12) break;
    const uint32_t crc = imagetest::Crc32(file.substr(at + 4, 4 + length));
    for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = static_cast<char>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string file(reinterpret_cast<const char*>(data), size);
  FixChunkChecksums(file);
  fuzzsupport::WriteFile("input.png", file);
  tessel::PngImage image = tessel::ReadPngImage("input.png");
  const bool decoded = !image.pixels.empty();
  if (decoded && image.pixels.size() != static_cast<size_t>(image.width) * image.height) std::abort();
  if (!decoded && (image.width != 0 || image.height != 0)) std::abort();
  return 0;
}
