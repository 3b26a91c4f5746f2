// Prepkit's conversions on arbitrary input files. When a line end comes within the first
// 64 bytes, the text before it is the switch (given as "/<text>", none when empty) and the
// rest is the input file; otherwise the whole input is the file, converted without a switch.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  size_t start = 0;
  if (size_t end = input.find('\n'); end != std::string::npos && end < 64) {
    std::string sw = input.substr(0, end);
    if (!sw.empty() && sw.find('\0') == std::string::npos) args.push_back("/" + sw);
    start = end + 1;
  }
  fuzzsupport::WriteFile("input.bin", input.substr(start));
  args.push_back("input.bin");
  args.push_back("out.bin");
  fuzzsupport::RunPrepkit(args);
  return 0;
}
