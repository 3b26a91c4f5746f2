// Whole conversion (mode r) of arbitrary source bytes. The length of the input picks one of
// a few option sets, so that code pages, code tables, encodings, multipliers, the emulation
// target and runs without paths are all reached from the same corpus.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace {

const std::vector<std::vector<std::string>> kOptionSets = {
    {"-t", "w", "-p", "img;data", "-d", "WIN"},
    {"-t", "w", "-p", "img;data", "-w", "1.5", "2", "3", "-d", "WIN"},
    {"-t", "w", "-c", "932", "-p", "img;data"},
    {"-t", "w", "-f", "m", "-l", "rus", "-p", "data;img"},
    {"-t", "w", "-q", "utf-8", "utf-16", "-p", "data;img", "-d", "MAC"},
    {"-t", "w", "-q", "utf-16", "1252", "-p", "img"},
    {"-t", "e", "-p", "img;data"},
    {"-t", "w"},
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::WriteFile("src.klx", data, size);
  std::vector<std::string> args = {"-i", "src.klx", "-o", "out/res.rc"};
  const auto& options = kOptionSets[size % kOptionSets.size()];
  args.insert(args.end(), options.begin(), options.end());
  fuzzsupport::RunTessel(args);
  return 0;
}
