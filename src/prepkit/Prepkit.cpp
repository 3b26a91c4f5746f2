#include "prepkit/Prepkit.h"

#include <new>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "prepkit/Console.h"
#include "prepkit/Conversions.h"
#include "prepkit/Switches.h"

namespace tessel {

namespace {

using namespace prepkit;

constexpr std::string_view kDefaultProgramName = "tessel";

struct ConversionEntry {
  Conversion conversion;
  int (*run)(const Job&, const Console&);
};

constexpr ConversionEntry kConversions[] = {
    {Conversion::Data, ConvertData},         {Conversion::Makers, ConvertData},
    {Conversion::Copyright, ConvertData},    {Conversion::Mark, ConvertMark},
    {Conversion::Split, ConvertSplit},       {Conversion::Picture, ConvertPicture},
    {Conversion::LineEnds, ConvertLineEnds}, {Conversion::Palette, ConvertPalette},
};

int Run(const Job& job, const Console& console) {
  for (const ConversionEntry& entry : kConversions) {
    if (entry.conversion == job.sw.conversion) return entry.run(job, console);
  }
  return kExitHelp;
}

}  // namespace

int PrepkitMain(int argc, char** argv) {
  const Console console;
  const std::string_view program = argc > 0 && argv[0] ? argv[0] : kDefaultProgramName;

  // Switches come first (the last one counts), then exactly two names.
  std::string_view switchArgument;
  int first = 1;
  for (; first < argc && IsSwitchArgument(argv[first]); ++first) switchArgument = argv[first];

  Job job;
  std::string switchError;
  if (!switchArgument.empty()) job.sw = ParseSwitch(switchArgument, switchError);
  if (switchError.empty() && job.sw.conversion == Conversion::Help) return kExitHelp;
  if (argc - first != 2) return console.Usage(program);
  if (!switchError.empty()) return console.Error(switchError);

  job.input = argv[first];
  job.output = argv[first + 1];
  // Removing the existing output would destroy an input that is the same file under another name.
  if (job.input == job.output || platform::SameFile(job.input, job.output)) {
    return console.Error(Fill(kSameName, job.output));
  }
  try {
    return Run(job, console);
  } catch (const std::bad_alloc&) {
    return console.Error(kMemoryError);
  }
}

}  // namespace tessel
