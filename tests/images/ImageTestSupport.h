// Helpers of the image tests: PNG files written with libpng, little-endian field readers.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace imagetest {

struct PngLayout {
  uint32_t width = 1;
  uint32_t height = 1;
  int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::vector<uint8_t>> rows;  // packed as the file stores them, top row first
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;
};

// The CRC-32 of PNG chunks (and of zlib), over the chunk type and data.
inline uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// One PNG chunk: length, type, data and CRC, written as the file stores them.
inline std::string PngChunk(const std::string& type, const std::string& data) {
  auto bigEndian = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  return bigEndian(static_cast<uint32_t>(data.size())) + type + data + bigEndian(Crc32(type + data));
}

inline void WritePng(const std::string& path, const PngLayout& layout) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot create " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw std::runtime_error("cannot write " + path);
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!layout.palette.empty()) png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
  if (!layout.paletteAlpha.empty())
    png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()), nullptr);
  std::vector<png_bytep> rows;
  for (const auto& r : layout.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// An 8-bit RGBA image from 0xAARRGGBB values, top row first.
inline PngLayout Rgba(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb) {
  PngLayout layout;
  layout.width = width;
  layout.height = height;
  for (uint32_t y = 0; y < height; ++y) {
    std::vector<uint8_t> row;
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t p = argb[y * width + x];
      row.insert(row.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                             static_cast<uint8_t>(p >> 24)});
    }
    layout.rows.push_back(row);
  }
  return layout;
}

inline uint32_t U16(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes.at(at)) | static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(at + 1))) << 8;
}
inline uint32_t U32(const std::string& bytes, size_t at) { return U16(bytes, at) | U16(bytes, at + 2) << 16; }

}  // namespace imagetest
