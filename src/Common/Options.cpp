#include "Common/Options.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Common/Version.h"
#include "encoding/CodeTables.h"
#include "encoding/TranscodeUtils.h"
#include "platform/Platform.h"

namespace tessel {

namespace {

constexpr size_t kMaxMultipliers = 5;

constexpr std::array<std::string_view, 5> kUsagePages = {
    "Usage: tessel [-m <mode>] other parameters\n"
    "\n"
    " 1) Resource converter: mode = r (default)\n"
    "\n"
    "       tessel [-m r]\n"
    "                -i <input_file_name>\n"
    "                -o <output_file_name>\n"
    "                -t <target>\n"
    "               [-f <input_format>]\n"
    "               [-l <code_table>]\n"
    "               [-c <code_page>]\n"
    "               [-n <font_name>]\n"
    "               [-s <font_size>]\n"
    "               [-p <paths>]\n"
    "               [-d <ID1>] [-d <ID2>] ... [-d <IDn>]\n"
    "\n"
    "               target:  w = Windows, m = Macintosh, e = emulation\n"
    "         input_format:  w = Windows, m = Macintosh (default: current platform)\n"
    "           code_table:  NUL, INT, GRE, RUS, CEU (default: NUL)\n"
    "            code_page:  0, 874, 932, 936, 949, 950, 1250, 1251, 1253, 1254 (default: 0)\n"
    "            font_name:  font name for QDLG resources on Windows (default: )\n"
    "            font_size:  font size for QDLG resources on Windows (default: )\n"
    "                paths:  additional paths separated with ';' for some resources\n"
    "                  IDi:  #define-s for the preprocessing\n"
    "\n"
    "      Remark1: with mode = p (-m p) only preprocessing is performed\n"
    "      Remark2: with mode = q (-m q) only preprocessing is performed\n"
    "               without clearing comments\n"
    "      Remark4: with mode = i (-m i) on Windows: conversion of cicn, crsr,\n"
    "               CURS, ICON, PICT and SICN resources for Macintosh are ignored",

    " 2) PICT KLX -> Make file  converter: mode = m\n"
    "\n"
    "       tessel -m m\n"
    "               -i <input_file_name>\n"
    "               -o <output_file_name>\n"
    "               -c <conv_prg>\n"
    "               -b <BMP_path>\n"
    "               -p <dest_path>\n"
    "              [-d <ID1>] [-d <ID2>] [...] [-d <IDn>]\n"
    "\n"
    "             conv_prg:  converter program name with full path\n"
    "             BMP_path:  path of the source (BMP) directory\n"
    "            dest_path:  path of the destination directory",

    " 3) Dependency file generation (PICT, QICN): mode = d\n"
    "\n"
    "       tessel -m d\n"
    "               -i <input_file_name>\n"
    "               -o <output_file_name>\n"
    "               -v <env_var>\n"
    "               -p <dest_path>\n"
    "              [-d <ID1>] [-d <ID2>] [...] [-d <IDn>]\n"
    "\n"
    "              env_var:  environment variable name\n"
    "            dest_path:  path of the destination directory",

    " 4) PICT KLX -> BmpHlp file  converter: mode = h\n"
    "\n"
    "       tessel -m h\n"
    "               -i <input_file_name>\n"
    "               -o <output_file_name>\n"
    "              [-d <ID1>] [-d <ID2>] [...] [-d <IDn>]",

    " 5) Resource preparing utility (Prepkit): mode = k\n"
    "\n"
    "       tessel -m k\n"
    "\t\t\t\t [-jam]\n"
    "               -i <input_file_name>\n"
    "               -o <output_file_name>\n"
    "              [-s <switch>]\n"
    "\n"
    "   switches:\n"
    "       D           - Convert a text file to an About List of Distributors.\n"
    "                         (This is the default conversion mode.)\n"
    "       M           - Convert a text file to an About List of Makers.\n"
    "       Rcr-ft      - Mark as resource file && Set the CREATOR & TYPE.\n"
    "       Sn1-n2      - Split n1-n2 part of the file.\n"
    "       B{y1,x1,y2,x2,drawMode} - Convert infile.BMP to 'PICT' outfile.pic.\n"
    "       C           - Convert a Copyrihgt pict.\n"
    "       Z           - Convert a text file (CR->CRLF,'^Z'->'').\n"
    "       P           - Extract 'pltt' from the infile.BMP to outfile.ptt.\n"
    "       Q           - Convert a 'pltt' (not yet implemented).\n",
};

// The long options: each sets its run setting (with the argument that follows it when it takes
// one); --help lists them with their help lines.
struct LongOption {
  std::string_view name;
  std::string_view help;
  bool takesValue;
  void (*apply)(RunSettings& settings, const char* value);
};

constexpr LongOption kLongOptions[] = {
    {"--depfile FILE", "(mode r, key extraction) write the files the run read as a make rule", true,
     [](RunSettings& s, const char* value) {
       s.depfileName = value;
       s.hasDepfile = true;
     }},
    {"--windres", "(mode r, target w) write a script that GNU windres compiles as it is", false,
     [](RunSettings& s, const char*) { s.windres = true; }},
    {"--help", "this text", false, [](RunSettings& s, const char*) { s.showHelp = true; }},
    {"--version", "the version of tessel", false, [](RunSettings& s, const char*) { s.showVersion = true; }},
};

// The option's name as typed: the table's name up to its first blank.
std::string_view LongOptionName(const LongOption& option) { return option.name.substr(0, option.name.find(' ')); }

bool IsLongOption(const char* arg) { return std::strlen(arg) > 2 && arg[0] == '-' && arg[1] == '-'; }

// The letter of an option argument ("-x", either case), or 0 when the argument is not one.
char OptionLetter(const char* arg) {
  if (std::strlen(arg) != 2 || arg[0] != '-') return 0;
  return static_cast<char>(std::tolower(static_cast<unsigned char>(arg[1])));
}

// Walks the options again and collects every -d value in order.
void CollectDirectiveIds(int argc, char** argv, int first, RunSettings& settings) {
  for (int i = first; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strlen(arg) < 2 || arg[0] != '-') continue;
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(arg[1])));
    if (letter == 'd') {
      if (i + 1 < argc) settings.directiveIds.emplace_back(argv[i + 1]);
      ++i;
    } else if (letter != 'n' && letter != 'x') {
      ++i;
    }
  }
}

// A complete decimal number above 1.0, or nothing.
bool ReadMultiplier(const char* text, double& value) {
  if (!*text) return false;
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end && *end == '\0' && value > 1.0;
}

// The values of the single-valued options of modes d, h, m and k, by letter.
class OptionValues {
 public:
  const char*& operator[](char letter) { return values_[static_cast<size_t>(letter - 'a')]; }

 private:
  std::array<const char*, 26> values_{};
};

// The shared frame of the parsers of modes d, h, m and k: every option takes one value, the
// letters in `allowed` are single-valued, 'd' repeats. Fills the input and output names.
OptionValues ParseSimpleOptions(int argc, char** argv, int first, ErrorContext& errors, std::string_view allowed,
                                std::string_view required, RunSettings& settings) {
  OptionValues values;
  std::array<int, 26> count{};
  if (first >= argc) ShowUsage(errors);
  for (int i = first; i < argc; i += 2) {
    char letter = OptionLetter(argv[i]);
    if (!letter || i + 1 >= argc) ShowUsage(errors);
    if (letter == 'd') continue;
    if (letter < 'a' || letter > 'z' || allowed.find(letter) == std::string_view::npos) ShowUsage(errors);
    ++count[static_cast<size_t>(letter - 'a')];
    values[letter] = argv[i + 1];
  }
  for (int c : count) {
    if (c > 1) ShowUsage(errors);
  }
  for (char letter : required) {
    if (!values[letter]) ShowUsage(errors);
  }
  settings.inputName = values['i'];
  settings.outputName = values['o'];
  settings.hasOutput = true;
  return values;
}

}  // namespace

void ShowUsage(ErrorContext& errors) {
  std::fputs("\n\n\n\n\n", stdout);
  for (size_t page = 0; page < kUsagePages.size(); ++page) {
    std::fwrite(kUsagePages[page].data(), 1, kUsagePages[page].size(), stdout);
    if (page + 1 < kUsagePages.size()) std::fputs("\n\nPress any key to continue\n\n", stdout);
    std::fflush(stdout);
    platform::WaitForKey();
  }
  std::fputs("\n", stdout);
  std::fflush(stdout);
  errors.Usage();
}

std::vector<char*> TakeLongOptions(int argc, char** argv, RunSettings& settings, ErrorContext& errors) {
  std::vector<char*> rest;
  bool seen[std::size(kLongOptions)] = {};
  for (int i = 0; i < argc; ++i) {
    if (i == 0 || !IsLongOption(argv[i])) {
      rest.push_back(argv[i]);
      continue;
    }
    size_t found = std::size(kLongOptions);
    for (size_t k = 0; k < std::size(kLongOptions); ++k) {
      if (LongOptionName(kLongOptions[k]) == argv[i]) found = k;
    }
    // Unknown, repeated, or missing its value: misuse like any other.
    if (found == std::size(kLongOptions) || seen[found]) ShowUsage(errors);
    seen[found] = true;
    const LongOption& option = kLongOptions[found];
    const char* value = nullptr;
    if (option.takesValue) {
      if (i + 1 >= argc) ShowUsage(errors);
      value = argv[++i];
    }
    option.apply(settings, value);
  }
  return rest;
}

void PrintHelp() {
  for (size_t page = 0; page < kUsagePages.size(); ++page) {
    std::fwrite(kUsagePages[page].data(), 1, kUsagePages[page].size(), stdout);
    if (page + 1 < kUsagePages.size()) std::fputs("\n\n", stdout);
  }
  std::fputs("\n Long options:\n\n", stdout);
  for (const auto& option : kLongOptions) {
    std::printf("       %-15.*s %.*s\n", static_cast<int>(option.name.size()), option.name.data(),
                static_cast<int>(option.help.size()), option.help.data());
  }
  std::fflush(stdout);
}

void PrintVersion() {
  std::printf("tessel %.*s\n", static_cast<int>(kVersion.size()), kVersion.data());
  std::fflush(stdout);
}

void CheckWindresMode(char modeLetter, const RunSettings& settings, ErrorContext& errors) {
  if (settings.windres && modeLetter != 'r') errors.ErrorExit("--windres works in mode r only!");
}

void CheckWindresTarget(const RunSettings& settings, ErrorContext& errors) {
  if (settings.windres && settings.target != 'w') errors.ErrorExit("--windres works with target w only!");
}

void ParseConverterOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors,
                           const OptionHooks& hooks) {
  int inputs = 0, outputs = 0, targets = 0, formats = 0, tables = 0, errorFiles = 0, pathLists = 0;
  bool headerFailed = false;
  if (first >= argc) ShowUsage(errors);
  int i = first;
  while (i < argc) {
    char letter = OptionLetter(argv[i]);
    if (!letter) {
      std::fprintf(stderr, "\"%s\"\n", argv[i]);
      ShowUsage(errors);
    }
    if (i + 1 >= argc) ShowUsage(errors);
    char* value = argv[i + 1];
    int next = i + 2;
    switch (letter) {
      case 'i':
        ++inputs;
        settings.inputName = value;
        break;
      case 'o':
        ++outputs;
        settings.outputName = value;
        settings.hasOutput = true;
        break;
      case 't': {
        ++targets;
        char t = static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
        if (std::strlen(value) != 1 || (t != 'w' && t != 'e')) errors.ErrorExit("Illegal target specification!");
        settings.target = t;
        break;
      }
      case 'f': {
        ++formats;
        char f = static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
        if (std::strlen(value) != 1 || (f != 'w' && f != 'm')) {
          errors.ErrorExit("Illegal input format specification!");
        }
        settings.inputFormat = f;
        break;
      }
      case 'l': {
        for (char* p = value; *p; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
        auto table = FindCodeTable(value);
        if (!table) errors.ErrorExit("Illegal code table specification!");
        settings.codeTable = *table;
        if (*table) ++tables;
        break;
      }
      case 'c':
        settings.codePageText = value;
        settings.hasCodePage = true;
        break;
      case 'e':
        ++errorFiles;
        settings.errorFileName = value;
        settings.hasErrorFile = true;
        break;
      case 'p':
        ++pathLists;
        settings.paths = value;
        settings.hasPaths = true;
        break;
      case 'd':
        break;
      case 'q': {
        if (i + 2 >= argc) ShowUsage(errors);
        int32_t source = EncodingFromName(value);
        if (source < 0) errors.ErrorExit("Illegal source encoding!");
        int32_t target = EncodingFromName(argv[i + 2]);
        if (target < 0) errors.ErrorExit("Illegal target encoding!");
        settings.sourceEncoding = source;
        settings.targetEncoding = target;
        next = i + 3;
        break;
      }
      case 'h':
        if (hooks.readHeaderDefines && !hooks.readHeaderDefines(value)) headerFailed = true;
        break;
      case 'j':
        settings.keysPass = true;
        if (std::strlen(value) >= 2) {
          if (!settings.hasOutput) ShowUsage(errors);
          settings.keyExtraction = true;
          if (hooks.startKeyExtraction) hooks.startKeyExtraction(settings.outputName, value);
        }
        break;
      case 'w': {
        double multiplier = 0;
        next = i + 1;
        while (next < argc && ReadMultiplier(argv[next], multiplier)) {
          if (settings.multipliers.size() < kMaxMultipliers) {
            settings.multipliers.push_back(multiplier);
          } else {
            std::fprintf(stderr,
                         "# ERROR: AddNewConvImageSizeMultiplier failed to add multiplier %.2f "
                         "(convImageSizeMultiplierNum = %d)\n",
                         multiplier, static_cast<int>(kMaxMultipliers));
          }
          ++next;
        }
        break;
      }
      case 'a':
      case 's':
        break;
      case 'n':
      case 'x':
        next = i + 1;
        break;
      default:
        ShowUsage(errors);
    }
    i = next;
  }
  for (int count : {inputs, outputs, targets, formats, tables, errorFiles, pathLists}) {
    if (count > 1) ShowUsage(errors);
  }
  if (!inputs || !outputs || !targets || headerFailed) ShowUsage(errors);
  CollectDirectiveIds(argc, argv, first, settings);
}

void ParseDependencyOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors) {
  OptionValues v = ParseSimpleOptions(argc, argv, first, errors, "iovp", "iovp", settings);
  settings.envVariable = v['v'];
  settings.destinationPath = v['p'];
  CollectDirectiveIds(argc, argv, first, settings);
}

void ParseHelpBitmapOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors) {
  ParseSimpleOptions(argc, argv, first, errors, "io", "io", settings);
  CollectDirectiveIds(argc, argv, first, settings);
}

void ParseMakeFileOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors) {
  OptionValues v = ParseSimpleOptions(argc, argv, first, errors, "iocpb", "iocp", settings);
  settings.converterProgram = v['c'];
  settings.destinationPath = v['p'];
  CollectDirectiveIds(argc, argv, first, settings);
}

void ParsePrepkitOptions(int argc, char** argv, int first, RunSettings& settings, ErrorContext& errors) {
  // -d has no meaning for Prepkit: every letter but i, o and s is refused.
  for (int i = first; i < argc; i += 2) {
    if (OptionLetter(argv[i]) == 'd') ShowUsage(errors);
  }
  OptionValues v = ParseSimpleOptions(argc, argv, first, errors, "ios", "io", settings);
  if (v['s']) {
    settings.prepkitSwitch = v['s'];
    settings.hasPrepkitSwitch = true;
  }
}

}  // namespace tessel
