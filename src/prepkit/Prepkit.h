// Prepkit: converts text and bitmap files into resource data files.
#pragma once

namespace tessel {
// Runs the utility with its own argument vector; returns its exit code (0, 3 or 4; 1 for the usage text).
int PrepkitMain(int argc, char** argv);
}  // namespace tessel
