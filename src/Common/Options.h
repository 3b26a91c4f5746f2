// The command line: the option parsers of every mode and the usage text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Common/Errors.h"
#include "Common/Settings.h"

namespace tessel {

class KeyContext;

// What the parsers call back into while the options are read.
struct OptionHooks {
  // -j with a value of two or more characters: starts key extraction (output name, prefix).
  std::function<void(const std::string&, const std::string&)> startKeyExtraction;
  // -h: reads a file of named numbers; false when the reader reports failure.
  std::function<bool(const std::string&)> readHeaderDefines;
};

// Prints the five pages of the usage text and ends the run (exit code 1).
[[noreturn]] void ShowUsage(ErrorContext& errors);

// Takes the long options ("--name") out of the command line and applies them to the settings;
// returns the remaining arguments, the program name first. An unknown one shows the usage text.
std::vector<char*> TakeLongOptions(int argc, char** argv, RunSettings& settings, ErrorContext& errors);
// --help: the five pages and the long options on standard output, without waiting for keys.
void PrintHelp();
// --version
void PrintVersion();
// Refuses --windres outside mode r (the letter as typed: i too), or with a target other than w.
void CheckWindresMode(char modeLetter, const RunSettings& settings, ErrorContext& errors);
void CheckWindresTarget(const RunSettings& settings, ErrorContext& errors);

// Each parser reads argv[first..argc-1] into the settings; misuse shows the usage text.
void ParseConverterOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors,
                           const OptionHooks& hooks);
void ParseDependencyOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors);
void ParseHelpBitmapOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors);
void ParseMakeFileOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors);
void ParsePrepkitOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors);

}  // namespace tessel
