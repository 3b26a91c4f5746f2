#include <string>

#include "prepkit/Conversions.h"
#include "prepkit/Files.h"
#include "prepkit/Rle8.h"

namespace tessel::prepkit {

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint64_t kPictureHeaderSize = 24;
constexpr uint64_t kMinInfoHeaderSize = 40;

// The 24-byte picture header that precedes the bitmap in a picture file.
Bytes PictureHeader(const PictureFrame& frame) {
  Bytes header = {0x00, 0x00, 0x0C, 0xFE};
  for (int16_t corner : {frame.y1, frame.x1, frame.y2, frame.x2}) AppendLE16(header, static_cast<uint16_t>(corner));
  AppendLE32(header, 0);
  AppendLE16(header, frame.drawMode & 0x00FC);
  AppendLE16(header, 0);
  AppendLE32(header, 0);
  return header;
}

bool IsBmp(const Bytes& file) { return file.size() > kFileHeaderSize && file[0] == 'B' && file[1] == 'M'; }

// The picture file: the count of the bytes that follow, the picture header, the bitmap.
void WritePicture(OutputFile& output, const PictureFrame& frame, std::span<const uint8_t> bitmap) {
  Bytes count;
  AppendLE32(count, static_cast<uint32_t>(bitmap.size() + kPictureHeaderSize));
  output.Write(count);
  output.Write(PictureHeader(frame));
  output.Write(bitmap);
}

int ConvertCompressedPicture(const Job& job, const Console& console) {
  const std::optional<Bytes> bmp = ReadWholeFile(job.input);
  if (!bmp || !IsBmp(*bmp)) return console.Error(Fill(kRle8Failed, job.input));
  const uint16_t drawMode = job.sw.frame.drawMode;
  const Rle8Options options{(drawMode & 3) == 3, static_cast<uint8_t>(drawMode >> 8)};
  const Rle8Result result = CompressBmp(*bmp, options);
  if (result.status == Rle8Result::Larger) {
    return console.Error(" RLE8 - Warning: OldFileSize = " + std::to_string(bmp->size()) +
                         "\nNewFileSize = " + std::to_string(result.newSize));
  }
  if (result.status != Rle8Result::Compressed) return console.Error(Fill(kRle8Failed, job.input));
  if (result.file.size() <= kFileHeaderSize) return console.Error(kFileTooShort);

  OutputFile output;
  if (!output.Create(job.output)) return console.Error(Fill(kOpenWrite, job.output));
  WritePicture(output, job.sw.frame, std::span(result.file).subspan(kFileHeaderSize));
  if (!output.Finish()) return console.Error(Fill(kWriteError, job.output));
  return kExitDone;
}

}  // namespace

int ConvertPicture(const Job& job, const Console& console) {
  if (job.sw.frame.drawMode & 1) return ConvertCompressedPicture(job, console);

  return Stream(job, console, [&](InputFile& input, uint64_t size, OutputFile& output) {
    // The bitmap is the input from its 14th byte on; the count written is that of the bytes
    // actually copied, so that a file that ends early still gives a consistent picture file.
    const uint64_t promised = size > kFileHeaderSize ? size - kFileHeaderSize : 0;
    if (promised + kPictureHeaderSize > UINT32_MAX) return console.Error(kFileTooLarge);
    Bytes bitmap;
    if (input.Seek(kFileHeaderSize)) input.ReadInto(bitmap, promised);
    WritePicture(output, job.sw.frame, bitmap);
    if (bitmap.size() < promised || size < kFileHeaderSize) console.Warning(kTooFewData);
    if (input.HasMore()) console.Warning(kInputTooLong);
    return kExitDone;
  });
}

int ConvertPalette(const Job& job, const Console& console) {
  const std::optional<Bytes> bmp = ReadWholeFile(job.input);
  const std::string failed = Fill(kPaletteFailed, job.input);
  if (!bmp || !IsBmp(*bmp)) return console.Error(failed);
  // The file size field must lie above 58 and within the file.
  const uint64_t fileEnd = GetLE32(*bmp, 2);
  if (fileEnd <= 58 || fileEnd > bmp->size()) return console.Error(failed);
  const uint32_t infoSize = GetLE32(*bmp, 14);
  if (infoSize < kMinInfoHeaderSize) return console.Error(failed);
  uint64_t colours = GetLE32(*bmp, 46);
  if (colours == 0) {
    const uint16_t bits = GetLE16(*bmp, 28);
    if (bits > 16) return console.Error(failed);
    colours = uint64_t{1} << bits;
  }
  // The palette follows the information header; its colour count must fit its 16-bit field.
  const uint64_t paletteStart = kFileHeaderSize + infoSize;
  if (colours > UINT16_MAX || paletteStart + 4 * colours > fileEnd) return console.Error(failed);

  OutputFile output;
  if (!output.Create(job.output)) return console.Error(kCannotCreate);
  if (colours < 1) return console.Error(kNoColor);
  Bytes palette;
  AppendLE32(palette, static_cast<uint32_t>(16 * colours + 20));
  AppendLE32(palette, 0);
  AppendLE16(palette, static_cast<uint16_t>(colours));
  palette.resize(palette.size() + 14, 0);
  for (uint64_t i = 0; i < colours; ++i) {
    const size_t entry = static_cast<size_t>(paletteStart + 4 * i);  // blue, green, red, unused
    for (size_t component : {entry + 2, entry + 1, entry})
      AppendLE16(palette, static_cast<uint16_t>((*bmp)[component] * 257));
    AppendLE16(palette, 2);
    palette.resize(palette.size() + 8, 0);
  }
  output.Write(palette);
  if (!output.Finish()) return console.Error(Fill(kWriteError, job.output));
  return kExitDone;
}

}  // namespace tessel::prepkit
