// Prepkit: converts text and bitmap files into resource data files.
#pragma once

namespace tessel {
// Runs the utility with its own argument vector (program name, an optional switch,
// the input name and the output name) and returns its exit code: 0 after a conversion,
// 3 after an error, 4 after a usage error, and 1 for the help switches (? and H),
// which convert nothing and leave the caller to show its usage text.
int PrepkitMain(int argc, char** argv);
}  // namespace tessel
