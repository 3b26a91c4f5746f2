#include <algorithm>
#include <array>

#include "prepkit/Conversions.h"
#include "prepkit/Files.h"

namespace tessel::prepkit {

namespace {

constexpr uint8_t kEndOfFile = 0x1A;
constexpr size_t kMarkHeaderSize = 64;
constexpr size_t kCopyChunk = 786432;
constexpr std::array<uint8_t, 4> kResourceMark = {0x4A, 0x4D, 0x11, 0x93};

}  // namespace

int ConvertData(const Job& job, const Console& console) {
  return Stream(job, console, [&](InputFile& input, uint64_t size, OutputFile& output) {
    const bool complement = job.sw.conversion != Conversion::Data;
    std::array<uint8_t, 256> table{};
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(complement ? 255 - i : i);

    uint64_t count = size;
    if (size == 0) return console.Error(kEmptyFile);
    if (job.sw.conversion == Conversion::Copyright) {
      std::array<uint8_t, 4> prefix{};
      if (input.Read(prefix.data(), prefix.size()) != prefix.size()) return console.Error(kReadPictSize);
      count = GetLE32(prefix, 0);
      if (count + 4 != size) return console.Error(kBadPictSize);
    }
    if (count > UINT32_MAX) return console.Error(kFileTooLarge);

    Bytes prefix;
    AppendLE32(prefix, static_cast<uint32_t>(count));
    output.Write(prefix);
    for (int c; (c = input.Get()) != EOF;) output.Put(table[static_cast<uint8_t>(c)]);
    return kExitDone;
  });
}

int ConvertSplit(const Job& job, const Console& console) {
  return Stream(job, console, [&](InputFile& input, uint64_t size, OutputFile& output) {
    if (job.sw.from < size) {
      if (!input.Seek(job.sw.from)) return console.Error(Fill(kSeekError, job.input));
      Bytes part;
      input.ReadInto(part, job.sw.to > job.sw.from ? job.sw.to - job.sw.from : 0);
      output.Write(part);
    }
    return kExitDone;
  });
}

int ConvertLineEnds(const Job& job, const Console& console) {
  return Stream(job, console, [&](InputFile& input, uint64_t, OutputFile& output) {
    int pending = 0;  // a CR or LF not yet written
    for (int c; (c = input.Get()) != EOF && c != kEndOfFile;) {
      if (pending != 0) {
        output.Write(std::array<uint8_t, 2>{'\r', '\n'});
        const bool sameLineEnd = (c == '\r' || c == '\n') && c != pending;
        pending = 0;
        if (sameLineEnd) continue;
      }
      if (c == '\r' || c == '\n') {
        pending = c;
      } else {
        output.Put(static_cast<uint8_t>(c));
      }
    }
    if (pending != 0) output.Write(std::array<uint8_t, 2>{'\r', '\n'});
    return kExitDone;
  });
}

int ConvertMark(const Job& job, const Console& console) {
  InputFile input;
  if (!input.Open(job.input)) return console.Error(Fill(kOpenRead, job.input));
  const std::optional<uint64_t> size = input.Size();
  if (!size || *size <= kMarkHeaderSize) return console.Error(Fill(kSeekError, job.input));
  OutputFile output;
  if (!output.Create(job.output)) return console.Error(kCannotCreate);

  std::array<uint8_t, kMarkHeaderSize> header{};
  if (input.Read(header.data(), header.size()) != header.size()) return console.Error(Fill(kReadError, job.input));
  std::copy(kResourceMark.begin(), kResourceMark.end(), header.begin() + 28);
  for (size_t i = 0; i < 4; ++i) {
    header[44 + i] = static_cast<uint8_t>(job.sw.creator[3 - i]);
    header[48 + i] = static_cast<uint8_t>(job.sw.type[3 - i]);
  }
  if (GetLE32(header, 32) != 0 || GetLE32(header, 36) != 0 || GetLE32(header, 40) != 0) {
    console.Warning(kNonemptyFields);
  }
  output.Write(header);

  // An allocation failure ends in the caller's "Memory Allocation Error", the output removed.
  Bytes chunk;
  do {
    chunk.clear();
    input.ReadInto(chunk, kCopyChunk);
    if (input.Failed()) return console.Error(Fill(kReadError, job.input));
    output.Write(chunk);
  } while (chunk.size() == kCopyChunk);
  if (!output.Finish()) return console.Error(Fill(kWriteError, job.output));
  return kExitDone;
}

}  // namespace tessel::prepkit
