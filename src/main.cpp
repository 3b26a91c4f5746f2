#include "Common/MainCons.h"
#include "platform/OutputFile.h"

int main(int argc, char** argv) {
  // Set here, not in the run driver, so that programs that run it in-process (the fuzz
  // targets) keep their own signal handling.
  platform::RemoveTemporariesOnSignals();
  return tessel::MainCons(argc, argv);
}
