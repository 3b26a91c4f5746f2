// The run driver: one run of the compiler from the command line to the exit code.
#pragma once

namespace tessel {
int MainCons(int argc, char** argv);
}  // namespace tessel
