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

// Converts `source` (written as a.klx) to a.rc with target w inside a temporary directory.
inline SourceRun RunSource(const std::string& source) {
  TempDir dir;
  return RunTessel(dir, source, "-t w", "a.rc");
}

// A source error case: the source, the composed message (with its ResID part) and the line.
struct SourceErrorCase {
  const char* source;
  const char* message;
  int line;
};

// Empty when the run stopped with the message at the line, exit code 1, and left no script
// behind; otherwise what differed.
inline std::string CheckSourceError(const SourceErrorCase& c) {
  const SourceRun run = RunSource(c.source);
  std::string problems;
  if (run.exitCode != 1) problems += "exit code " + std::to_string(run.exitCode) + "; ";
  if (run.err != "Write_Error: " + std::string(c.message) + "\n") problems += "stderr: " + run.err + "; ";
  const std::string located = "a.klx (" + std::to_string(c.line) + ") : " + c.message + "\n\n";
  if (run.out.size() < located.size() || run.out.compare(run.out.size() - located.size(), located.size(), located))
    problems += "stdout: " + run.out + "; ";
  if (run.scriptLeft) problems += "the script was left behind; ";
  return problems;
}

}  // namespace testsupport
