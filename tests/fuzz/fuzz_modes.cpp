// The modes that do not convert: preprocessing (p, q), the dependency list (d) and the
// check-only modes (h, m), on arbitrary source bytes. The length of the input picks the mode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace {

const std::vector<std::vector<std::string>> kOptionSets = {
    {"-m", "p", "-i", "src.klx", "-o", "out/pre.txt", "-t", "w", "-d", "WIN"},
    {"-m", "q", "-i", "src.klx", "-o", "out/pre.txt", "-t", "w", "-c", "936"},
    {"-m", "d", "-i", "src.klx", "-o", "out/deps.d", "-v", "RESDIR", "-p", "dest", "-d", "WIN"},
    {"-m", "h", "-i", "src.klx", "-o", "out/help.txt", "-d", "MAC"},
    {"-m", "m", "-i", "src.klx", "-o", "out/make.txt", "-c", "conv", "-p", "dest", "-b", "bmp"},
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::WriteFile("src.klx", data, size);
  fuzzsupport::RunTessel(kOptionSets[size % kOptionSets.size()]);
  return 0;
}
