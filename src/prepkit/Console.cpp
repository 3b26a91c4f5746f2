#include "prepkit/Console.h"

#include <cstdio>

namespace tessel::prepkit {

namespace {
void Print(std::string_view a, std::string_view b, std::string_view c) {
  std::fwrite(a.data(), 1, a.size(), stdout);
  std::fwrite(b.data(), 1, b.size(), stdout);
  std::fwrite(c.data(), 1, c.size(), stdout);
  std::fflush(stdout);
}
}  // namespace

std::string Fill(std::string_view text, std::string_view value) {
  std::string result(text);
  if (size_t at = result.find("%s"); at != std::string::npos) result.replace(at, 2, value);
  return result;
}

int Console::Error(std::string_view message) const {
  Print("\nERROR: ", message, " !\n");
  return kExitError;
}

void Console::Warning(std::string_view message) const { Print("\nWarning: ", message, " !\n"); }

int Console::Usage(std::string_view program) const {
  Print("\n Useage:\n ", program,
        " [switch] inputfile outputfile\n[switch]-es:         /?,/H - for more detailed help.\n");
  return kExitUsage;
}

}  // namespace tessel::prepkit
