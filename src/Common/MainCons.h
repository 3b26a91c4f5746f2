// The run driver: one run of the compiler from the command line to the exit code.
#pragma once

#include <string>
#include <vector>

#include "Common/Settings.h"

namespace tessel {
class ErrorContext;

int MainCons(int argc, char** argv);
// The settings that follow from the options (target, input format, code table), and the code page.
void DeriveSettings(RunSettings& settings, ErrorContext& errors);
// The argument vector handed to Prepkit in mode k: program, ["/<switch>"], input, output.
std::vector<std::string> PrepkitArguments(const RunSettings& settings, const char* program);
}  // namespace tessel
