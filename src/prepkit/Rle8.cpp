#include "prepkit/Rle8.h"

#include <algorithm>

namespace tessel::prepkit {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kMaxRun = 255;

class RowEncoder {
 public:
  RowEncoder(std::span<const uint8_t> row, const Rle8Options& options, Bytes& out)
      : row_(row), options_(options), out_(out) {}

  void Run() {
    size_t p = 0;
    while (p < row_.size()) {
      switch (state_) {
        case State::Start:
          if (row_.size() - p > 3 && LiteralFits(p)) {
            literalStart_ = p;
            count_ = 4;
            p += 4;
            state_ = State::Literal;
          } else {
            colour_ = row_[p];
            count_ = 1;
            p += 1;
            state_ = State::Encoded;
          }
          break;
        case State::Encoded:
          if (count_ < kMaxRun && row_[p] == colour_) {
            ++count_;
            ++p;
          } else {
            Close();
          }
          break;
        case State::Literal:
          if (count_ < kMaxRun && row_.size() - p >= 4 && LiteralFits(p)) {
            ++count_;
            ++p;
          } else {
            Close();
          }
          break;
      }
    }
    Close();
    out_.push_back(0);
    out_.push_back(0);
  }

 private:
  enum class State { Start, Encoded, Literal };

  // The four pixels from p may go into a literal run: none is the transparent index
  // (when that option is on) and no two neighbours are equal. Four pixels must remain.
  bool LiteralFits(size_t p) const {
    const uint8_t* q = row_.data() + p;
    if (options_.transparent && std::find(q, q + 4, options_.transparentIndex) != q + 4) return false;
    return q[0] != q[1] && q[1] != q[2] && q[2] != q[3];
  }

  void Close() {
    if (state_ == State::Encoded) {
      if (options_.transparent && colour_ == options_.transparentIndex) {
        out_.insert(out_.end(), {0, 2, static_cast<uint8_t>(count_), 0});
      } else {
        out_.insert(out_.end(), {static_cast<uint8_t>(count_), colour_});
      }
    } else if (state_ == State::Literal) {
      out_.insert(out_.end(), {0, static_cast<uint8_t>(count_)});
      out_.insert(out_.end(), row_.begin() + static_cast<ptrdiff_t>(literalStart_),
                  row_.begin() + static_cast<ptrdiff_t>(literalStart_ + count_));
      if (count_ % 2 != 0) out_.push_back(0);
    }
    state_ = State::Start;
  }

  std::span<const uint8_t> row_;
  const Rle8Options& options_;
  Bytes& out_;
  State state_ = State::Start;
  size_t count_ = 0;
  uint8_t colour_ = 0;
  size_t literalStart_ = 0;
};

}  // namespace

void CompressRow(std::span<const uint8_t> row, const Rle8Options& options, Bytes& out) {
  RowEncoder(row, options, out).Run();
}

Rle8Result CompressBmp(std::span<const uint8_t> bmp, const Rle8Options& options) {
  Rle8Result result;
  constexpr size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
  if (bmp.size() < kHeadersSize || bmp[0] != 'B' || bmp[1] != 'M') return result;
  if (GetLE32(bmp, 14) != kInfoHeaderSize || GetLE16(bmp, 28) != 8 || GetLE32(bmp, 30) != 0) return result;
  const auto width = static_cast<int32_t>(GetLE32(bmp, 18));
  const auto height = static_cast<int32_t>(GetLE32(bmp, 22));
  const uint32_t usedColours = GetLE32(bmp, 46);
  const uint64_t colours = usedColours == 0 ? 256 : usedColours;
  // Top-down bitmaps (negative height) cannot be RLE8-compressed.
  if (width < 1 || height < 1 || colours > 256) return result;

  const uint64_t paletteEnd = kHeadersSize + 4 * colours;
  const uint64_t rowSize = (static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
  const uint64_t imageSize = rowSize * static_cast<uint64_t>(height);
  // The pixels follow the palette, or lie further on where the file header says so.
  const uint64_t pixelStart = std::max<uint64_t>(paletteEnd, GetLE32(bmp, 10));
  if (pixelStart > bmp.size() || imageSize > bmp.size() - pixelStart) return result;

  Bytes& out = result.file;
  out.reserve(bmp.size());
  out.assign(bmp.begin(), bmp.begin() + static_cast<ptrdiff_t>(paletteEnd));
  SetLE32(out, 46, static_cast<uint32_t>(colours));
  for (uint64_t y = 0; y < static_cast<uint64_t>(height); ++y) {
    CompressRow(bmp.subspan(static_cast<size_t>(pixelStart + y * rowSize), static_cast<size_t>(width)), options, out);
  }
  out.push_back(0);
  out.push_back(1);

  const uint64_t compressedSize = out.size() - paletteEnd;
  if (compressedSize > imageSize) {
    result.status = Rle8Result::Larger;
    result.newSize = out.size();
    result.file.clear();
    return result;
  }
  SetLE32(out, 30, 1);
  SetLE32(out, 34, static_cast<uint32_t>(compressedSize));
  SetLE32(out, 2, static_cast<uint32_t>(out.size()));
  result.status = Rle8Result::Compressed;
  return result;
}

}  // namespace tessel::prepkit
