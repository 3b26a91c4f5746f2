#include "images/IconWriter.h"

#include <cstring>
#include <limits>
#include <utility>

#include "platform/Platform.h"

namespace tessel {

namespace {

constexpr uint32_t kHeaderSize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr const char* kTooMany = "#ERROR: too many image representations\n";

void Put16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
  Put16(at, v);
  Put16(at + 2, v >> 16);
}

void PutHeader(uint8_t* at, uint32_t type, uint32_t count) {
  Put16(at, 0);
  Put16(at + 2, type);
  Put16(at + 4, count);
}

void PutEntry(uint8_t* at, uint32_t width, uint32_t height, uint32_t x, uint32_t y, uint32_t size, uint32_t offset) {
  at[0] = static_cast<uint8_t>(width);
  at[1] = static_cast<uint8_t>(height);
  at[2] = 0;
  at[3] = 0;
  Put16(at + 4, x);
  Put16(at + 6, y);
  Put32(at + 8, size);
  Put32(at + 12, offset);
}

// 32-bit words in one AND-mask row.
uint64_t MaskWords(uint64_t width) { return (((width + 7) >> 3) + 3) >> 2; }

uint64_t DibSize(const PngImage& image) {
  uint64_t w = image.width, h = image.height;
  return kInfoHeaderSize + 4 * (w * h + MaskWords(w) * h);
}

}  // namespace

PngIconWriter::~PngIconWriter() {
  if (!finished_) Discard();
}

void PngIconWriter::Discard() {
  if (file_.IsOpen()) {
    file_.Discard();
    platform::RemoveOutput(path_);
  }
}

bool PngIconWriter::Create(uint16_t type, std::string_view path, unsigned imageCount) {
  if (imageCount > kMaxImageRepresentations) {
    std::fputs(kTooMany, stderr);
    return false;
  }
  Discard();
  path_ = path;
  declared_ = static_cast<uint8_t>(imageCount);
  added_ = 0;
  finished_ = false;
  nextOffset_ = kHeaderSize + kEntrySize * imageCount;
  if (!file_.OpenSmall(path_)) return false;
  uint8_t header[kHeaderSize];
  PutHeader(header, type, imageCount);
  return std::fwrite(header, 1, sizeof header, file_.Stream()) == sizeof header;
}

bool PngIconWriter::AddImage(std::string_view pngPath, uint8_t x, uint8_t y) {
  // Images beyond the declared count would overwrite the image data the offsets point to.
  if (added_ >= kMaxImageRepresentations || added_ >= declared_) {
    std::fputs(kTooMany, stderr);
    return false;
  }
  std::vector<uint8_t>& bytes = images_[added_++];
  if (!file_.IsOpen()) return false;

  std::string file;
  // The bytes are copied unchanged, but only when they decode: an icon must never carry a
  // file that is not a whole PNG image.
  if (!platform::ReadFile(pngPath, file, std::numeric_limits<int32_t>::max()) || DecodePngImage(file).pixels.empty())
    return false;
  bytes.assign(file.begin(), file.end());
  if (nextOffset_ > std::numeric_limits<uint32_t>::max() - bytes.size()) return false;

  uint8_t entry[kEntrySize];
  PutEntry(entry, 0, 0, x, y, static_cast<uint32_t>(bytes.size()), nextOffset_);
  nextOffset_ += static_cast<uint32_t>(bytes.size());
  return std::fwrite(entry, 1, sizeof entry, file_.Stream()) == sizeof entry;
}

bool PngIconWriter::Finish() {
  if (added_ < declared_) {
    std::fputs("#ERROR: not all image representations added\n", stderr);
    return false;
  }
  if (!file_.IsOpen()) return false;
  for (uint8_t i = 0; i < added_; ++i) {
    const std::vector<uint8_t>& bytes = images_[i];
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.Stream()) != bytes.size()) return false;
  }
  if (!file_.Commit()) {
    platform::RemoveOutput(path_);
    return false;
  }
  finished_ = true;
  return true;
}

bool DibCursorBuilder::AddRepresentation(std::string_view pngPath, uint32_t hotspotX, uint32_t hotspotY) {
  if (representations_.size() >= kMaxImageRepresentations) return false;
  PngImage image = ReadPngImage(pngPath);
  if (image.pixels.empty()) return false;
  representations_.push_back({std::move(image), hotspotX, hotspotY});
  return true;
}

std::vector<uint8_t> DibCursorBuilder::Build() const {
  uint64_t total = kHeaderSize;
  for (const auto& r : representations_) total += kEntrySize + DibSize(r.image);
  if (total > std::numeric_limits<uint32_t>::max()) return {};

  std::vector<uint8_t> buffer(static_cast<size_t>(total), 0);
  uint8_t* at = buffer.data();
  PutHeader(at, cursor_ ? 2 : 1, static_cast<uint32_t>(representations_.size()));
  at += kHeaderSize;
  uint32_t offset = kHeaderSize + kEntrySize * static_cast<uint32_t>(representations_.size());
  for (const auto& r : representations_) {
    uint32_t size = static_cast<uint32_t>(DibSize(r.image));
    PutEntry(at, r.image.width, r.image.height, cursor_ ? r.hotspotX : 0, cursor_ ? r.hotspotY : 0, size, offset);
    at += kEntrySize;
    offset += size;
  }

  for (const auto& r : representations_) {
    const PngImage& image = r.image;
    Put32(at, kInfoHeaderSize);
    Put32(at + 4, image.width);
    Put32(at + 8, image.height * 2);
    Put16(at + 12, 1);
    Put16(at + 14, 32);
    at += kInfoHeaderSize;  // compression, image size, resolutions and colour counts stay 0
    for (uint32_t pixel : image.pixels) {
      Put32(at, pixel);
      at += 4;
    }
    // AND mask: a set bit for every pixel that is not fully opaque, first pixel in the high bit.
    size_t rowBytes = static_cast<size_t>(MaskWords(image.width)) * 4;
    for (uint32_t y = 0; y < image.height; ++y) {
      const uint32_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
      for (uint32_t x = 0; x < image.width; ++x) {
        if ((row[x] >> 24) != 0xFF) at[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      }
      at += rowBytes;
    }
  }
  if (at != buffer.data() + buffer.size()) return {};
  return buffer;
}

bool DibCursorBuilder::Write() const {
  std::vector<uint8_t> buffer = Build();
  if (buffer.empty()) return false;
  platform::OutputFile file;
  if (!file.OpenSmall(path_)) return false;
  bool ok = std::fwrite(buffer.data(), 1, buffer.size(), file.Stream()) == buffer.size() && file.Commit();
  if (!ok) {
    file.Discard();
    platform::RemoveOutput(path_);
  }
  return ok;
}

}  // namespace tessel
