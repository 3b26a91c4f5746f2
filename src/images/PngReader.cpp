#include "images/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

#include "platform/Platform.h"

namespace tessel {

namespace {

// 16-bit samples cut to 8 bits, small samples widened, palette and transparency expanded,
// grey turned to RGB, RGB order turned to BGR.
constexpr int kTransforms = PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_PACKING | PNG_TRANSFORM_BGR |
                            PNG_TRANSFORM_GRAY_TO_RGB | PNG_TRANSFORM_EXPAND;
constexpr size_t kSignatureSize = 8;

struct FileCloser {
  FILE* file;
  ~FileCloser() {
    if (file) std::fclose(file);
  }
};

struct PngReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadStructs() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

void ReadFromFile(png_structp png, png_bytep data, size_t length) {
  FILE* file = static_cast<FILE*>(png_get_io_ptr(png));
  if (std::fread(data, 1, length, file) != length) png_error(png, "Read Error");
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
  PngImage image;
  PngReadStructs structs;
  structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!structs.png) return image;
  structs.info = png_create_info_struct(structs.png);
  if (!structs.info) return image;

  FileCloser input{platform::OpenFile(path, "rb")};
  if (!input.file) return image;
  png_set_read_fn(structs.png, input.file, ReadFromFile);

  png_byte signature[kSignatureSize] = {};
  if (std::fread(signature, 1, kSignatureSize, input.file) != kSignatureSize) return image;
  if (png_sig_cmp(signature, 0, kSignatureSize) != 0) return image;
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
