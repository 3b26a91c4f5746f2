// Runs the tessel program on a source text in a fresh directory, for tests of whole resources.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"

namespace testsupport {

struct SourceRun {
  int exitCode = -1;
  std::string out;  // standard output
  std::string err;  // standard error
  bool scriptLeft = false;
  std::string script;  // the output script, when one is left
};

// Runs tessel inside `dir` on `source` (written as a.klx) with the given (shell-quoted) options,
// writing `output`.
inline SourceRun RunTessel(const TempDir& dir, const std::string& source, const std::string& options,
                           const std::string& output) {
  dir.write("a.klx", source);
  const std::string command = "cd '" + dir.path() + "' && '" TESSEL_BINARY "' " + options + " -i a.klx -o " + output +
                              " > stdout 2> stderr < /dev/null";
  const int status = std::system(command.c_str());
  SourceRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = dir.read("stdout");
  run.err = dir.read("stderr");
  run.scriptLeft = dir.exists(output);
  if (run.scriptLeft) run.script = dir.read(output);
  return run;
}

}  // namespace testsupport
