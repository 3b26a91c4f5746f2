// Prepkit's conversions: each turns the input file into the output file and returns the exit code.
#pragma once

#include <string_view>

#include "prepkit/Console.h"
#include "prepkit/Files.h"
#include "prepkit/Switches.h"

namespace tessel::prepkit {

struct Job {
  std::string_view input;
  std::string_view output;
  Switch sw;
};

// The frame of the streaming conversions: the input opened and sized, the output created afresh,
// the body run with both (returning an exit code), then read and write failures reported.
template <typename Body>
int Stream(const Job& job, const Console& console, Body body) {
  InputFile input;
  OutputFile output;
  std::optional<uint64_t> size;
  if (!input.Open(job.input) || !(size = input.Size())) return console.Error(Fill(kOpenRead, job.input));
  if (!output.Create(job.output)) return console.Error(Fill(kOpenWrite, job.output));
  if (int code = body(input, *size, output); code != kExitDone) return code;
  if (input.Failed()) return console.Error(Fill(kReadError, job.input));
  if (!output.Finish()) return console.Error(Fill(kWriteError, job.output));
  return kExitDone;
}

// D, M and C: length-prefixed data files, complemented for M and C.
int ConvertData(const Job& job, const Console& console);
// S: the bytes from one offset up to another.
int ConvertSplit(const Job& job, const Console& console);
// Z: every line end as CR LF, up to the end-of-file character.
int ConvertLineEnds(const Job& job, const Console& console);
// R: the 64-byte header marked with the creator and type.
int ConvertMark(const Job& job, const Console& console);
// B: a BMP file as picture file, RLE8-compressed when draw mode bit 0 is set.
int ConvertPicture(const Job& job, const Console& console);
// P: the palette of a BMP file as palette file.
int ConvertPalette(const Job& job, const Console& console);

}  // namespace tessel::prepkit
