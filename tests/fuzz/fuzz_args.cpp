// The command line itself: each line of the input is one argument after the program name.
// Arguments naming a path outside the work directory (a '/' or '\' anywhere) are dropped, so
// that no run can reach a file the fuzzer does not own.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::Setup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  size_t start = 0;
  while (start <= input.size() && args.size() < 64) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    std::string arg = input.substr(start, end - start);
    start = end + 1;
    if (arg.find_first_of("/\\") != std::string::npos) continue;
    if (arg.find('\0') != std::string::npos) arg.resize(arg.find('\0'));
    args.push_back(arg);
  }
  // Each run starts in a fresh directory holding one small source, whatever the last one made.
  std::error_code ec;
  fs::remove_all("run", ec);
  fs::create_directory("run");
  fs::current_path("run");
  fuzzsupport::WriteFile("a.klx", "'STR ' 1 \"s\"\n{\n\"text\"\n}\n");
  fuzzsupport::RunTessel(args);
  fs::current_path("..");
  return 0;
}
