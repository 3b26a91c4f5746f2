// The run settings, filled by the option parsers and read by the later steps of a run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Common/Mode.h"

namespace tessel {

struct CodeTable;

struct RunSettings {
  Mode mode = Mode::kConvert;
  std::string inputName;
  std::string outputName;
  bool hasOutput = false;
  std::string errorFileName;
  bool hasErrorFile = false;
  char target = 0;       // 'w' or 'e'
  char inputFormat = 0;  // 'w', 'm' or 'x'; 0 when not given
  const CodeTable* codeTable = nullptr;
  std::string codePageText;
  bool hasCodePage = false;
  std::string paths;  // -p, modes r, p, q, i
  bool hasPaths = false;
  std::string destinationPath;   // -p, modes d and m
  std::string converterProgram;  // -c, mode m
  std::string envVariable;       // -v, mode d
  std::vector<std::string> directiveIds;
  int sourceEncoding = -1;
  int targetEncoding = -1;
  bool keysPass = false;       // -j given
  bool keyExtraction = false;  // -j with a value of two or more characters
  std::string prepkitSwitch;
  bool hasPrepkitSwitch = false;
  std::vector<double> multipliers;  // -w, at most 5, each above 1.0
  std::string depfileName;          // --depfile
  bool hasDepfile = false;
  bool windres = false;                        // --windres
  bool showHelp = false, showVersion = false;  // --help, --version

  // Derived
  const CodeTable* codeTableInUse = nullptr;
  uint16_t codePage = 0;
};

}  // namespace tessel
