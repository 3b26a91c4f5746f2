// Byte strings and small BMP files for the Prepkit tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace prepkittest {

// A byte string from byte values.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

inline void PutLE(std::string& s, size_t at, uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
}

inline std::string LE32(uint32_t value) {
  std::string s(4, '\0');
  PutLE(s, 0, value);
  return s;
}

// An uncompressed BMP file with a 40-byte information header: `palette` holds the 4-byte
// entries (blue, green, red, unused) and `pixels` the rows as stored, padding included.
inline std::string MakeBmp(int32_t width, int32_t height, uint16_t bits, uint32_t usedColours,
                           const std::string& palette, const std::string& pixels) {
  std::string file(54, '\0');
  file[0] = 'B';
  file[1] = 'M';
  PutLE(file, 2, static_cast<uint32_t>(54 + palette.size() + pixels.size()));
  PutLE(file, 10, static_cast<uint32_t>(54 + palette.size()));
  PutLE(file, 14, 40);
  PutLE(file, 18, static_cast<uint32_t>(width));
  PutLE(file, 22, static_cast<uint32_t>(height));
  PutLE(file, 26, 1, 2);
  PutLE(file, 28, bits, 2);
  PutLE(file, 34, static_cast<uint32_t>(pixels.size()));
  PutLE(file, 46, usedColours);
  return file + palette + pixels;
}

}  // namespace prepkittest
