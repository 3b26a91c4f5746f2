#include "images/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/Platform.h"

namespace tessel {

namespace {

// 16-bit samples cut to 8 bits, small samples widened, palette and transparency expanded,
// grey turned to RGB, RGB order turned to BGR.
constexpr int kTransforms = PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_PACKING | PNG_TRANSFORM_BGR |
                            PNG_TRANSFORM_GRAY_TO_RGB | PNG_TRANSFORM_EXPAND;
constexpr size_t kSignatureSize = 8;
constexpr size_t kMaxFileSize = INT32_MAX;

struct PngReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadStructs() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

uint64_t BigEndian32(const png_byte* at) {
  return uint64_t{at[0]} << 24 | uint64_t{at[1]} << 16 | uint64_t{at[2]} << 8 | at[3];
}

// Whether the header (the IHDR chunk, which must follow the signature) declares more pixel
// data than the whole file could hold: deflate shrinks data at most 1032 times, so with twice
// that margin a valid file is never refused. libpng would otherwise allocate every row of such an image before it
// finds the data missing, which lets a file of a few hundred bytes take gigabytes of memory.
// A header it cannot read is left to libpng.
bool DeclaresMoreThanItHolds(std::string_view file) {
  constexpr uint64_t kMaxDeflateRatio = 1032;
  constexpr size_t kHeaderSize = 18;  // chunk length, chunk type, width, height, bit depth, colour type
  if (file.size() < kSignatureSize + kHeaderSize) return false;
  const auto* header = reinterpret_cast<const png_byte*>(file.data() + kSignatureSize);
  if (std::memcmp(header + 4, "IHDR", 4) != 0) return false;
  const uint64_t width = BigEndian32(header + 8), height = BigEndian32(header + 12);
  const png_byte colourType = header[17];
  const uint64_t samples = colourType == PNG_COLOR_TYPE_RGB          ? 3
                           : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                           : colourType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                                                                     : 1;
  const uint64_t rowBytes = width * samples * header[16] / 8;  // below 2^42: no overflow
  const uint64_t capacity = (static_cast<uint64_t>(file.size()) + 1) * kMaxDeflateRatio * 2;
  return height > 0 && rowBytes > capacity / height;
}

struct MemoryInput {
  std::string_view bytes;
  size_t at;
};

void ReadFromMemory(png_structp png, png_bytep data, size_t length) {
  auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > input->bytes.size() - input->at) png_error(png, "Read Error");
  std::memcpy(data, input->bytes.data() + input->at, length);
  input->at += length;
}

// The only frame a libpng error jumps to. It owns nothing, so the jump skips no destructor;
// libpng keeps the decoded rows, which are released with its structures.
bool DecodeRows(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_sig_bytes(png, static_cast<int>(kSignatureSize));
  png_read_png(png, info, kTransforms, nullptr);
  return true;
}

}  // namespace

PngImage ReadPngImage(std::string_view path) {
  std::string bytes;
  if (!platform::ReadFile(path, bytes, kMaxFileSize)) return PngImage{};
  return DecodePngImage(bytes);
}

PngImage DecodePngImage(std::string_view file) {
  PngImage image;
  PngReadStructs structs;
  structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!structs.png) return image;
  structs.info = png_create_info_struct(structs.png);
  if (!structs.info) return image;

  if (file.size() < kSignatureSize) return image;
  if (png_sig_cmp(reinterpret_cast<png_const_bytep>(file.data()), 0, kSignatureSize) != 0) return image;
  if (DeclaresMoreThanItHolds(file)) return image;
  MemoryInput input{file, kSignatureSize};
  png_set_read_fn(structs.png, &input, ReadFromMemory);
  if (!DecodeRows(structs.png, structs.info)) return image;

  uint32_t width = png_get_image_width(structs.png, structs.info);
  uint32_t height = png_get_image_height(structs.png, structs.info);
  unsigned channels = png_get_channels(structs.png, structs.info);
  size_t rowBytes = png_get_rowbytes(structs.png, structs.info);
  png_bytepp rows = png_get_rows(structs.png, structs.info);
  if (!rows || width == 0 || height == 0 || png_get_bit_depth(structs.png, structs.info) != 8 ||
      (channels != 3 && channels != 4) || rowBytes < static_cast<size_t>(width) * channels) {
    return image;
  }

  try {
    image.pixels.assign(static_cast<size_t>(width) * height, 0);
  } catch (const std::bad_alloc&) {
    return image;
  }
  for (uint32_t y = 0; y < height; ++y) {
    const png_byte* row = rows[y];
    uint32_t* target = &image.pixels[static_cast<size_t>(height - 1 - y) * width];
    for (uint32_t x = 0; x < width; ++x, row += channels) {
      uint32_t alpha = channels == 4 ? row[3] : 0xFF;
      target[x] = static_cast<uint32_t>(row[0]) | static_cast<uint32_t>(row[1]) << 8 |
                  static_cast<uint32_t>(row[2]) << 16 | alpha << 24;
    }
  }
  image.width = width;
  image.height = height;
  return image;
}

}  // namespace tessel
