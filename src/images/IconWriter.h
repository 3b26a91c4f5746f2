// Writers of the icon-directory container (.ico and .cur): a 6-byte header, one 16-byte
// entry per image, then the images. All fields little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "images/PngReader.h"
#include "platform/OutputFile.h"

namespace tessel {

inline constexpr int kMaxImageRepresentations = 5;

// Containers whose images are PNG files copied byte for byte. Use: Create, AddImage for each
// image, Finish. A file that was not finished successfully is deleted when the writer goes away.
class PngIconWriter {
 public:
  PngIconWriter() = default;
  PngIconWriter(const PngIconWriter&) = delete;
  PngIconWriter& operator=(const PngIconWriter&) = delete;
  ~PngIconWriter();

  // type 1 icon, 2 cursor. False when the count is above 5 (with a message) or the file did not open.
  bool Create(uint16_t type, std::string_view path, unsigned imageCount);
  // Reads the whole PNG file (refused when it does not decode) and writes its directory entry at once. x and y go into
  // the planes and bit-count fields (hotspot of a cursor, 0 for icons).
  bool AddImage(std::string_view pngPath, uint8_t x, uint8_t y);
  // Writes the images in the order they were added and closes the file.
  bool Finish();

 private:
  void Discard();

  platform::OutputFile file_;
  std::string path_;
  uint32_t nextOffset_ = 0;
  uint8_t declared_ = 0;
  uint8_t added_ = 0;
  bool finished_ = false;
  std::array<std::vector<uint8_t>, kMaxImageRepresentations> images_;
};

// Containers whose images are 32-bit device-independent bitmaps with an AND mask, decoded from
// PNG files; with the cursor flag the entries carry hotspots.
class DibCursorBuilder {
 public:
  DibCursorBuilder(std::string path, bool cursor) : path_(std::move(path)), cursor_(cursor) {}

  // False when 5 are held already or the PNG file could not be decoded.
  bool AddRepresentation(std::string_view pngPath, uint32_t hotspotX, uint32_t hotspotY);
  // The whole file; empty when it cannot be laid out (sizes beyond 32 bits).
  std::vector<uint8_t> Build() const;
  // Builds and writes the file; a file that could not be written completely is removed.
  bool Write() const;
  const std::string& Path() const { return path_; }

 private:
  struct CursorRepresentation {
    PngImage image;
    uint32_t hotspotX = 0;
    uint32_t hotspotY = 0;
  };

  std::vector<CursorRepresentation> representations_;
  std::string path_;
  bool cursor_;
};

}  // namespace tessel
