// The PNG reader on arbitrary file bytes: it must either decode a whole image or give an
// empty one, and never read or write outside its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "images/PngReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::WriteFile("input.png", data, size);
  tessel::PngImage image = tessel::ReadPngImage("input.png");
  const bool decoded = !image.pixels.empty();
  if (decoded && image.pixels.size() != static_cast<size_t>(image.width) * image.height) std::abort();
  if (!decoded && (image.width != 0 || image.height != 0)) std::abort();
  return 0;
}
