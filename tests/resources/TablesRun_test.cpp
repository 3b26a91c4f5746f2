// Whole runs over generated sources too large for golden cases.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"

namespace {

struct RunResult {
  int exitCode;
  std::string stdoutText;
  std::string script;
};

RunResult Convert(const std::string& source) {
  testsupport::TempDir dir;
  dir.write("a.klx", source);
  const std::string command = "cd '" + dir.path() + "' && '" + TESSEL_BINARY +
                              "' -i a.klx -o a.rc -t w > stdout.txt 2> stderr.txt";
  const int status = std::system(command.c_str());
  RunResult run{WEXITSTATUS(status), dir.read("stdout.txt"), dir.exists("a.rc") ? dir.read("a.rc") : std::string()};
  return run;
}

std::string CommandTable(int groups) {
  std::string source = "'CMND' 128 \"Commands\" {\n";
  for (int i = 0; i < groups; ++i) source += "\tG" + std::to_string(i) + " noIcon\n";
  return source + "}\n";
}

TEST(CommandTableRun, GroupCountMustFitItsWord) {
  const RunResult full = Convert(CommandTable(65535));
  EXPECT_EQ(full.exitCode, 0) << full.stdoutText;
  EXPECT_NE(full.script.find("\t65535,\r\n\tG0,\r\n"), std::string::npos);
  EXPECT_NE(full.script.find("\tG65534,\r\n\t0xffff,\r\n\t0,\r\n\r\nEND\r\n"), std::string::npos);

  const RunResult over = Convert(CommandTable(65536));
  EXPECT_EQ(over.exitCode, 1);
  EXPECT_NE(over.stdoutText.find("a.klx (65537) : Internal error  (ResID: 128)"), std::string::npos) << over.stdoutText;
  EXPECT_TRUE(over.script.empty());
}

// Thousands of groups nested in one chain, each listing its own type, then one type listed
// again at the bottom of the chain.
TEST(FileTypeGraphRun, DeepChainOfGroups) {
  const int depth = 5000;
  std::string source;
  for (int i = 0; i < depth; ++i) {
    source += "'FTYP' T" + std::to_string(i) + " \"t\" {\n\"d\"\n\"e\"\n\"TEXT\"\n\"ttxt\"\n0\n}\n";
  }
  auto groups = [&](bool repeatFirstType) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
      text += "'FTGP' G" + std::to_string(i) + " \"g\" {\n\"d\"\n{\n";
      if (i + 1 < depth) text += "G" + std::to_string(i + 1) + "\n";
      text += "}\n{\nT" + std::to_string(i) + "\n";
      if (repeatFirstType && i + 1 == depth) text += "T0\n";
      text += "}\n}\n";
    }
    return text;
  };
  const RunResult sound = Convert(source + groups(false));
  EXPECT_EQ(sound.exitCode, 0) << sound.stdoutText;

  const RunResult transitive = Convert(source + groups(true));
  EXPECT_EQ(transitive.exitCode, 1);
  EXPECT_NE(transitive.stdoutText.find("Transitive relation detected in FTGPs  (ResID: G4999)"), std::string::npos)
      << transitive.stdoutText;
}

}  // namespace
