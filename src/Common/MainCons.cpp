#include "Common/MainCons.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Common/AnchorCheck.h"
#include "Common/Errors.h"
#include "Common/Options.h"
#include "Common/Settings.h"
#include "encoding/CodeTables.h"
#include "encoding/TranscodeUtils.h"
#include "frontend/Lexer.h"
#include "frontend/Preprocessor.h"
#include "keys/HeaderDefines.h"
#include "keys/KeyContext.h"
#include "platform/Platform.h"
#include "prepkit/Prepkit.h"
#include "resources/Context.h"
#include "resources/Output.h"
#include "resources/ResourceLoop.h"

namespace tessel {

namespace {

constexpr long kMaxSourceSize = 2147483647L;

// The files of one run, closed (and on failure deleted) whatever happens.
struct RunFiles {
  FILE* input = nullptr;
  FILE* anchor = nullptr;
  std::string anchorName, anchorCopyName;
  // The script is written to a temporary name and renamed into place at the end.
  std::string outputName, temporaryOutput;
  bool outputOpened = false;

  ~RunFiles() {
    if (input) std::fclose(input);
    if (anchor) std::fclose(anchor);
  }
};

uint16_t ChooseCodePage(const RunSettings& settings, ErrorContext& errors) {
  if (!settings.hasCodePage) {
    uint16_t system = platform::SystemCodePage();
    return (system >= 1250 && system <= 1254) ? 0 : system;
  }
  static constexpr const char* kDoubleByte[] = {"874", "932", "936", "949", "950"};
  static constexpr const char* kSingleByte[] = {"0", "1250", "1251", "1252", "1253", "1254"};
  for (const char* text : kDoubleByte) {
    if (settings.codePageText == text) return static_cast<uint16_t>(std::atoi(text));
  }
  for (const char* text : kSingleByte) {
    if (settings.codePageText == text) return 0;
  }
  errors.ErrorExit("Illegal code page specification!");
}

std::string ReadWholeFile(FILE* file, ErrorContext& errors) {
  if (std::fseek(file, 0, SEEK_END) != 0) errors.GeneralError("%s", "fseek error");
  long size = std::ftell(file);
  if (size < 0) errors.GeneralError("%s", "ftell error");
  if (size > kMaxSourceSize) errors.GeneralError("%s", "Memory allocation error");
  if (std::fseek(file, 0, SEEK_SET) != 0) errors.GeneralError("%s", "fseek error");
  std::string text;
  text.reserve(static_cast<size_t>(size) + 1);  // room for the lexer's terminating zero: no copy
  text.resize(static_cast<size_t>(size));
  size_t read = std::fread(text.data(), 1, text.size(), file);
  if (std::ferror(file)) errors.GeneralError("%s", "File read error");
  text.resize(read);
  return text;
}

void AnchorPostPass(RunFiles& files, const RunSettings& settings, ErrorContext& errors) {
  std::fclose(files.anchor);
  files.anchor = platform::OpenFile(files.anchorName, "rb");
  if (!files.anchor) errors.GeneralError("fopen (%s,rb) failed", files.anchorName.c_str());
  std::string list = ReadWholeFile(files.anchor, errors);
  std::fclose(files.anchor);
  files.anchor = nullptr;
  if (list.empty()) {
    platform::DeleteFile(files.anchorName);
    platform::DeleteFile(files.anchorCopyName);
    return;
  }
  std::fputs(DuplicatedAnchorWarnings(list).c_str(), stdout);
  std::fflush(stdout);
  if (settings.sourceEncoding < 0) return;
  std::string copy = "\xEF\xBB\xBF";
  copy.reserve(list.size() + 3);
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == '\r') {
      copy += '\n';
      if (i + 1 < list.size() && list[i + 1] == '\n') ++i;
    } else {
      copy += list[i];
    }
  }
  FILE* out = platform::OpenFile(files.anchorCopyName, "wb");
  if (!out) errors.GeneralError("%s", "Can't open the output file");
  std::fwrite(copy.data(), 1, copy.size(), out);
  std::fclose(out);
}

int RunPrepkit(const RunSettings& settings, const char* program) {
  std::vector<std::string> args = PrepkitArguments(settings, program);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return PrepkitMain(static_cast<int>(args.size()), argv.data());
}

int Run(int argc, char** argv, ErrorContext& errors, RunFiles& files, OutputWriter& out, KeyContext& keys) {
  RunSettings settings;
  HeaderDefines defines(errors);
  errors.Setup(nullptr);
  if (argc < 2) ShowUsage(errors);

  int first = 1;
  if (std::strlen(argv[1]) >= 2 && std::tolower(static_cast<unsigned char>(argv[1][1])) == 'm') {
    if (argc < 3) ShowUsage(errors);
    settings.mode = static_cast<char>(std::tolower(static_cast<unsigned char>(argv[2][0])));
    first = 3;
  }
  switch (settings.mode) {
    case 'd':
      ParseDependencyOptions(argc, argv, first, settings, errors);
      break;
    case 'h':
      ParseHelpBitmapOptions(argc, argv, first, settings, errors);
      break;
    case 'm':
      ParseMakeFileOptions(argc, argv, first, settings, errors);
      break;
    case 'k':
      ParsePrepkitOptions(argc, argv, first, settings, errors);
      // Prepkit ends the run itself; when it hands control back, the usage text follows.
      if (int code = RunPrepkit(settings, argv[0]); code != 1) return code;
      ShowUsage(errors);
    case 'p':
    case 'q':
    case 'r':
    case 'i': {
      OptionHooks hooks;
      hooks.startKeyExtraction = [&keys](const std::string& output, const std::string& prefix) {
        keys.StartKeyExtraction(output, prefix);
      };
      hooks.readHeaderDefines = [&defines](const std::string& file) { return defines.ReadInput(file); };
      ParseConverterOptions(argc, argv, first, settings, errors, hooks);
      break;
    }
    default:
      ShowUsage(errors);
  }
  if (settings.mode == 'd' || settings.mode == 'h' || settings.mode == 'm') {
    settings.target = 'w';
    settings.inputFormat = 'x';
  }
  settings.outputPlatform = 'w';
  settings.macOutput = settings.outputPlatform != 'w';
  if (!settings.inputFormat) settings.inputFormat = 'w';
  settings.codeTableInUse = settings.inputFormat == settings.outputPlatform ? nullptr : settings.codeTable;
  settings.codePage = ChooseCodePage(settings, errors);
  const bool keyExtraction = keys.IsKeyExtraction();

  // Files and buffers
  errors.Setup(settings.hasErrorFile ? settings.errorFileName.c_str() : nullptr);
  errors.SetInputName(settings.inputName);
  Translation translation{};
  if (settings.codeTableInUse) translation = BuildTranslation(*settings.codeTableInUse);

  files.input = platform::OpenFile(settings.inputName, "rb");
  if (!files.input) errors.GeneralError("%s", "Can't open the input file");
  if (settings.inputName == settings.outputName || platform::SameFile(settings.inputName, settings.outputName)) {
    errors.ErrorExit("Input and output file names must be different!");
  }
  if (!keyExtraction) {
    files.anchorName = settings.outputName + ".res.tmt";
    files.anchorCopyName = settings.outputName + ".res.txt";
    platform::DeleteFile(files.anchorName);
    platform::DeleteFile(files.anchorCopyName);
    platform::CreateDirectoriesAlong(files.anchorName);
    files.anchor = platform::OpenFile(files.anchorName, "wb");
    if (!files.anchor) errors.GeneralError("Cannot open temp anchor:%s for writing!", files.anchorName.c_str());
  }
  platform::CreateDirectoriesAlong(settings.outputName);
  files.outputName = settings.outputName;
  std::string outputDir = OutputDirectory(settings.outputName);
  files.temporaryOutput = platform::UniqueTempName(outputDir.empty() ? "." : outputDir, ".tessel-", ".tmp");
  FILE* output = platform::OpenFile(files.temporaryOutput, "wb");
  if (!output) errors.GeneralError("EC: %s %s", "Can't open the output file", settings.outputName.c_str());
  files.outputOpened = true;
  out.SetOutput(output, settings.outputName);
  out.SetKeyExtraction(keyExtraction);
  keys.SetOutputFile(output);
  if (!keyExtraction) out.WriteLine("#include \"DGDefs.h\"");
  out.SetOutputEnabled(true);

  std::unique_ptr<TranscodeUtils::Transcoder> toTarget, toUtf16;
  if (settings.sourceEncoding >= 0 && settings.targetEncoding >= 0) {
    toTarget = std::make_unique<TranscodeUtils::Transcoder>(settings.sourceEncoding, settings.targetEncoding);
    toUtf16 = std::make_unique<TranscodeUtils::Transcoder>(settings.sourceEncoding, kEncodingUtf16);
  }

  std::string text = ReadWholeFile(files.input, errors);
  std::fclose(files.input);
  files.input = nullptr;
  int markLength = 0;
  if (toUtf16) toUtf16->CheckSourceMark(text.data(), text.size(), &markLength);

  Lexer lex(errors);
  Preprocessor preprocessor(errors);
  lex.SetSource(std::move(text), static_cast<size_t>(markLength));
  lex.SetCodePage(settings.codePage);
  if (settings.codeTableInUse) lex.SetTranslation(translation.data());
  lex.SetKeyContext(&keys);
  lex.SetDirectiveReader(&preprocessor);
  keys.SetLexer(&lex);
  preprocessor.SetKeyHooks(&keys, &lex);
  preprocessor.StoreDirectiveIDs(settings.directiveIds);
  preprocessor.SetKeysPass(settings.keysPass);

  Context ctx(settings, errors, lex, out, keys);
  ctx.target = settings.target;
  ctx.mode = settings.mode == 'i' ? 'r' : settings.mode;
  ctx.macOutput = settings.macOutput;
  ctx.anchorFile = files.anchor;
  ctx.toTarget = toTarget.get();
  ctx.toUtf16 = toUtf16.get();
  ctx.destinationPath = settings.destinationPath;
  ctx.envVariable = settings.envVariable;
  ctx.programPath = platform::ProgramPath(argv[0]);

  if (ctx.mode == 'r') WriteBanner(ctx);
  const std::string& pathsText = settings.mode == 'm' ? settings.converterProgram : settings.paths;
  RunResourceLoop(ctx, preprocessor, pathsText, settings.mode == 'm' || settings.hasPaths);
  lex.ReleaseSource();  // the anchor check needs the memory more
  defines.Clear();

  if (files.anchor) AnchorPostPass(files, settings, errors);

  // Closing down
  toTarget.reset();
  toUtf16.reset();
  errors.Finish();
  out.CloseResourceList();
  if (!keyExtraction && !ctx.dialogDefinitionsUsed) {
    out.Flush();
    if (std::fseek(output, 0, SEEK_SET) == 0) std::fwrite("//", 1, 2, output);
  }
  out.CloseOutput();
  keys.Close();
  if (std::rename(platform::NativePath(files.temporaryOutput).c_str(),
                  platform::NativePath(files.outputName).c_str()) != 0) {
    platform::DeleteFile(files.temporaryOutput);
    files.outputOpened = false;
    errors.GeneralError("EC: %s %s", "Can't open the output file", settings.outputName.c_str());
  }
  files.outputOpened = false;
  return 0;
}

}  // namespace

std::vector<std::string> PrepkitArguments(const RunSettings& settings, const char* program) {
  std::vector<std::string> args = {program};
  if (settings.hasPrepkitSwitch) args.push_back("/" + settings.prepkitSwitch);
  args.push_back(settings.inputName);
  args.push_back(settings.outputName);
  return args;
}

int MainCons(int argc, char** argv) {
  ErrorContext errors;
  RunFiles files;
  OutputWriter out(errors);
  KeyContext keys(errors);
  try {
    return Run(argc, argv, errors, files, out, keys);
  } catch (const FatalError& error) {
    errors.Deliver(error);
    out.DiscardOutput();
    keys.Close();
    if (files.outputOpened) {
      platform::DeleteFile(files.temporaryOutput);
      platform::DeleteFile(files.outputName);
    }
    if (!error.silent) std::fprintf(stderr, "Write_Error: %s\n", error.text.c_str());
    return 1;
  } catch (const std::bad_alloc&) {
    FatalError error;
    error.text = "GeneralError: Memory allocation error";
    error.report = "\n\n" + error.text + "\n\n";
    errors.Deliver(error);
    out.DiscardOutput();
    if (files.outputOpened) {
      platform::DeleteFile(files.temporaryOutput);
      platform::DeleteFile(files.outputName);
    }
    std::fprintf(stderr, "Write_Error: %s\n", error.text.c_str());
    return 1;
  }
}

}  // namespace tessel
