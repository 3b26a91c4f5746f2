#include "Common/MainCons.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "Common/AnchorCheck.h"
#include "Common/Depfile.h"
#include "Common/Errors.h"
#include "Common/Mode.h"
#include "Common/Options.h"
#include "Common/Settings.h"
#include "encoding/CodeTables.h"
#include "encoding/TranscodeUtils.h"
#include "frontend/Lexer.h"
#include "frontend/Preprocessor.h"
#include "keys/HeaderDefines.h"
#include "keys/KeyContext.h"
#include "platform/OutputFile.h"
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
  std::string anchorName, anchorCopyName;
  std::string outputName;
  bool outputOpened = false;
  std::string depfileName;  // removed with the script when the run fails
  ReadFiles reads;          // what the dependency file lists

  ~RunFiles() {
    if (input) std::fclose(input);
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
  platform::PrepareBuffer(text.data(), text.capacity());
  text.resize(static_cast<size_t>(size));
  size_t read = std::fread(text.data(), 1, text.size(), file);
  if (std::ferror(file)) errors.GeneralError("%s", "File read error");
  text.resize(read);
  return text;
}

void AnchorPostPass(OutputSink& anchors, RunFiles& files, const RunSettings& settings, ErrorContext& errors) {
  // A list written into a device or a FIFO cannot be read back.
  if (anchors.InPlace()) {
    anchors.Commit();
    return;
  }
  anchors.Flush();
  FILE* written = platform::OpenFile(anchors.WorkingPath(), "rb");
  if (!written) errors.GeneralError("fopen (%s,rb) failed", files.anchorName.c_str());
  std::string list = ReadWholeFile(written, errors);
  std::fclose(written);
  if (list.empty()) {
    anchors.Discard();
    platform::RemoveOutput(files.anchorName);
    platform::RemoveOutput(files.anchorCopyName);
    return;
  }
  // Checked before the list is put in place, while the script may still be taking its place.
  const std::string warnings = DuplicatedAnchorWarnings(list);
  if (!anchors.Commit()) errors.GeneralError("Cannot open temp anchor:%s for writing!", files.anchorName.c_str());
  std::fputs(warnings.c_str(), stdout);
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
  platform::OutputFile out;
  if (!out.Open(files.anchorCopyName)) errors.GeneralError("%s", "Can't open the output file");
  std::fwrite(copy.data(), 1, copy.size(), out.Stream());
  if (!out.Commit()) errors.GeneralError("%s", "Can't open the output file");
}

// Zero bytes would end the text early and drop the rest of the source unseen.
void RefuseZeroBytes(const std::string& text, size_t start, ErrorContext& errors) {
  size_t zero = text.find('\0', start);
  if (zero == std::string::npos) return;
  int line = 1;
  for (size_t i = start; i < zero; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && text[i + 1] != '\n')) ++line;
  }
  errors.SourceError("Illegal character: ", "\\0", {}, line);
}

// The long option --depfile belongs to conversions and key extraction.
void RefuseDepfile(const RunSettings& settings, ErrorContext& errors) {
  if (settings.hasDepfile) errors.ErrorExit("--depfile is accepted only in mode r and in key extraction (-j)");
}

void WriteDepfile(platform::OutputFile& depfile, const RunSettings& settings, const ReadFiles& reads,
                  ErrorContext& errors) {
  platform::CreateDirectoriesAlong(settings.depfileName);
  std::string rule = DepfileRule(settings.outputName, reads.Paths());
  if (!depfile.Open(settings.depfileName) ||
      std::fwrite(rule.data(), 1, rule.size(), depfile.Stream()) != rule.size()) {
    errors.GeneralError("Can't write the dependency file %s", settings.depfileName.c_str());
  }
}

int RunPrepkit(const RunSettings& settings, const char* program) {
  std::vector<std::string> args = PrepkitArguments(settings, program);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return PrepkitMain(static_cast<int>(args.size()), argv.data());
}

// The state objects of one run.
struct RunState {
  ErrorContext errors;
  RunFiles files;
  OutputWriter out{errors};
  KeyContext keys{errors};
};

// The source-to-target and source-to-UTF-16 transcoders of -q; none without it.
struct Transcoders {
  std::unique_ptr<TranscodeUtils::Transcoder> toTarget, toUtf16;
};

// Reads the mode and its options into the settings. Returns the exit code when the command line
// is the whole run (--help, --version, mode k).
std::optional<int> ParseCommandLine(int argc, char** argv, RunSettings& settings, RunState& run,
                                    HeaderDefines& defines) {
  ErrorContext& errors = run.errors;
  std::vector<char*> args = TakeLongOptions(argc, argv, settings, errors);
  if (settings.showHelp || settings.showVersion) {
    settings.showHelp ? PrintHelp() : PrintVersion();
    return 0;
  }
  argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  argv = args.data();
  if (argc < 2) ShowUsage(errors);

  int first = 1;
  char modeLetter = 'r';
  if (std::strlen(argv[1]) >= 2 && std::tolower(static_cast<unsigned char>(argv[1][1])) == 'm') {
    if (argc < 3) ShowUsage(errors);
    modeLetter = static_cast<char>(std::tolower(static_cast<unsigned char>(argv[2][0])));
    first = 3;
  }
  CheckWindresMode(modeLetter, settings, errors);
  std::optional<Mode> mode = ModeFromLetter(modeLetter);
  if (!mode) ShowUsage(errors);
  settings.mode = *mode;
  switch (settings.mode) {
    case Mode::kDependencies:
      ParseDependencyOptions(argc, argv, first, settings, errors);
      break;
    case Mode::kCheckHelpBitmaps:
      ParseHelpBitmapOptions(argc, argv, first, settings, errors);
      break;
    case Mode::kCheckMakeFile:
      ParseMakeFileOptions(argc, argv, first, settings, errors);
      break;
    case Mode::kPrepkit:
      RefuseDepfile(settings, errors);
      ParsePrepkitOptions(argc, argv, first, settings, errors);
      // Prepkit ends the run itself; when it hands control back, the usage text follows.
      if (int code = RunPrepkit(settings, argv[0]); code != 1) return code;
      ShowUsage(errors);
    case Mode::kConvert:
    case Mode::kPreprocess:
    case Mode::kPreprocessKeepingComments: {
      OptionHooks hooks;
      hooks.startKeyExtraction = [&keys = run.keys](const std::string& output, const std::string& prefix) {
        keys.StartKeyExtraction(output, prefix);
      };
      hooks.readHeaderDefines = [&defines](const std::string& file) { return defines.ReadInput(file); };
      ParseConverterOptions(argc, argv, first, settings, errors, hooks);
      CheckWindresTarget(settings, errors);
      break;
    }
  }
  return std::nullopt;
}

// Opens the input, the anchor list (unless keys are extracted) and the output, whose first line
// is the include line.
void OpenRunFiles(const RunSettings& settings, RunState& run) {
  ErrorContext& errors = run.errors;
  RunFiles& files = run.files;
  OutputWriter& out = run.out;
  const bool keyExtraction = run.keys.IsKeyExtraction();
  files.input = platform::OpenFile(settings.inputName, "rb");
  if (!files.input) errors.GeneralError("%s", "Can't open the input file");
  files.reads.Record(settings.inputName);
  if (settings.inputName == settings.outputName || platform::SameFile(settings.inputName, settings.outputName)) {
    errors.ErrorExit("Input and output file names must be different!");
  }
  if (!keyExtraction) {
    files.anchorName = settings.outputName + ".res.tmt";
    files.anchorCopyName = settings.outputName + ".res.txt";
    platform::RemoveOutput(files.anchorName);
    platform::RemoveOutput(files.anchorCopyName);
    platform::CreateDirectoriesAlong(files.anchorName);
    if (!out.Sink(OutputTarget::kAnchorList).OpenFile(files.anchorName)) {
      errors.GeneralError("Cannot open temp anchor:%s for writing!", files.anchorName.c_str());
    }
  }
  platform::CreateDirectoriesAlong(settings.outputName);
  files.outputName = settings.outputName;
  if (!out.OpenOutput(settings.outputName)) {
    errors.GeneralError("EC: %s %s", "Can't open the output file", settings.outputName.c_str());
  }
  files.outputOpened = true;
  if (settings.hasDepfile) files.depfileName = settings.depfileName;
  out.SetKeyExtraction(keyExtraction);
  run.keys.SetOutput(&out.Sink(OutputTarget::kScript));
  if (!keyExtraction) out.WriteLine("#include \"DGDefs.h\"");
  out.SetOutputEnabled(true);
}

// Reads the whole input and closes it; `markLength` is the length of a byte-order mark -q knows.
std::string ReadSource(RunFiles& files, const Transcoders& transcoders, int& markLength, ErrorContext& errors) {
  std::string text = ReadWholeFile(files.input, errors);
  std::fclose(files.input);
  files.input = nullptr;
  markLength = 0;
  if (transcoders.toUtf16) transcoders.toUtf16->CheckSourceMark(text.data(), text.size(), &markLength);
  RefuseZeroBytes(text, static_cast<size_t>(markLength), errors);
  return text;
}

// Runs the lexer, the preprocessor and the resource loop over the source; true when an alert
// or a dialog asked for the dialog definitions.
bool ConvertSource(std::string text, int markLength, RunSettings& settings, RunState& run,
                   const Transcoders& transcoders, const char* program) {
  ErrorContext& errors = run.errors;
  KeyContext& keys = run.keys;
  Translation translation{};
  if (settings.codeTableInUse) translation = BuildTranslation(*settings.codeTableInUse);
  Lexer lex(errors);
  Preprocessor preprocessor(errors);
  lex.SetSource(std::move(text), static_cast<size_t>(markLength));
  ConnectFrontEnd(lex, preprocessor, keys, settings);
  if (settings.codeTableInUse) lex.SetTranslation(translation.data());

  Context ctx(settings, errors, lex, run.out, keys);
  ctx.reads = &run.files.reads;
  ctx.toTarget = transcoders.toTarget.get();
  ctx.toUtf16 = transcoders.toUtf16.get();
  ctx.programPath = platform::ProgramPath(program);
  const bool dialogDefinitionsUsed = ConvertResources(ctx, preprocessor);
  lex.ReleaseSource();     // the anchor check needs the memory more
  keys.SetLexer(nullptr);  // the lexer ends with this step
  return dialogDefinitionsUsed;
}

// Closes the resource list, comments out an unused include line, closes the key file, and puts
// the dependency file and then the script in place.
void CommitOutputs(const RunSettings& settings, bool dialogDefinitionsUsed, RunState& run) {
  ErrorContext& errors = run.errors;
  OutputWriter& out = run.out;
  if (!out.CloseResourceList()) {
    errors.GeneralError("EC: %s %s", "Can't open the output file", out.ResourceListName().c_str());
  }
  // Mode d's list is read by make, where the include line is a comment as it stands.
  if (!run.keys.IsKeyExtraction() && !dialogDefinitionsUsed && settings.mode != Mode::kDependencies) {
    out.Flush();
    out.Sink(OutputTarget::kScript).OverwriteStart("//");
  }
  if (!run.keys.Close()) {
    errors.GeneralError("Cannot open output klx (%s) for writing!", run.keys.KeyFileName().c_str());
  }
  // The dependency file is complete before the script takes its place, and a script whose
  // dependency file failed does not stay behind (the error path deletes it).
  platform::OutputFile depfile;
  if (settings.hasDepfile) WriteDepfile(depfile, settings, run.files.reads, errors);
  if (!out.CloseOutput()) errors.GeneralError("EC: %s %s", "Can't open the output file", settings.outputName.c_str());
  if (settings.hasDepfile && !depfile.Commit()) {
    errors.GeneralError("Can't write the dependency file %s", settings.depfileName.c_str());
  }
}

// Checks the anchor list, puts the outputs in place and ends the run. With a large list the
// outputs are put in place while the list is checked: the system takes a while to put a large
// script in place of an older one. A failure of either is reported as if the check came first,
// and leaves what a failed run leaves (the error path removes outputs already in place).
void FinishRun(const RunSettings& settings, bool dialogDefinitionsUsed, RunState& run) {
  constexpr size_t kListCheckedAlongside = 256 << 10;
  OutputSink& anchors = run.out.Sink(OutputTarget::kAnchorList);
  std::thread committer;
  std::exception_ptr commitFailure;
  if (anchors.IsOpen() && anchors.Size() >= kListCheckedAlongside) {
    try {
      committer = std::thread([&] {
        try {
          CommitOutputs(settings, dialogDefinitionsUsed, run);
        } catch (...) {
          commitFailure = std::current_exception();
        }
      });
    } catch (const std::system_error&) {  // no thread to be had: one after the other
    }
  }
  try {
    if (anchors.IsOpen()) AnchorPostPass(anchors, run.files, settings, run.errors);
  } catch (...) {
    if (committer.joinable()) committer.join();
    throw;
  }
  if (committer.joinable()) {
    committer.join();
    if (commitFailure) std::rethrow_exception(commitFailure);
  } else {
    CommitOutputs(settings, dialogDefinitionsUsed, run);
  }
  run.files.outputOpened = false;
  run.files.depfileName.clear();
  run.errors.Finish();
}

int Run(int argc, char** argv, RunState& run) {
  RunSettings settings;
  HeaderDefines defines(run.errors);
  defines.RecordReadsIn(&run.files.reads);
  run.errors.Setup(nullptr);
  if (std::optional<int> code = ParseCommandLine(argc, argv, settings, run, defines)) return *code;
  DeriveSettings(settings, run.errors);

  run.errors.Setup(settings.hasErrorFile ? settings.errorFileName.c_str() : nullptr);
  run.errors.SetInputName(settings.inputName);
  OpenRunFiles(settings, run);
  Transcoders transcoders;
  if (settings.sourceEncoding >= 0 && settings.targetEncoding >= 0) {
    transcoders.toTarget =
        std::make_unique<TranscodeUtils::Transcoder>(settings.sourceEncoding, settings.targetEncoding);
    transcoders.toUtf16 = std::make_unique<TranscodeUtils::Transcoder>(settings.sourceEncoding, kEncodingUtf16);
  }
  int markLength = 0;
  std::string text = ReadSource(run.files, transcoders, markLength, run.errors);
  bool dialogDefinitionsUsed = ConvertSource(std::move(text), markLength, settings, run, transcoders, argv[0]);
  defines.Clear();
  transcoders = {};
  FinishRun(settings, dialogDefinitionsUsed, run);
  return 0;
}

// What a failed run leaves: no script, resource list or dependency file; the anchor list
// and the key file keep what was written, as after any error. Reports the error; returns exit code 1.
int FailRun(const FatalError& error, RunState& run) {
  run.errors.Deliver(error);
  run.out.DiscardOutput();
  run.keys.Close();
  run.out.Sink(OutputTarget::kAnchorList).Commit();
  if (run.files.outputOpened) platform::RemoveOutput(run.files.outputName);
  if (!run.files.depfileName.empty()) platform::RemoveOutput(run.files.depfileName);
  if (!error.silent) std::fprintf(stderr, "Write_Error: %s\n", error.text.c_str());
  return 1;
}

FatalError MemoryError() {
  FatalError error;
  error.text = "GeneralError: Memory allocation error";
  error.report = "\n\n" + error.text + "\n\n";
  return error;
}

}  // namespace

void DeriveSettings(RunSettings& settings, ErrorContext& errors) {
  if (SupportsBuild(settings.mode) || (Preprocesses(settings.mode) && !settings.keyExtraction)) {
    RefuseDepfile(settings, errors);
  }
  if (SupportsBuild(settings.mode)) {
    settings.target = 'w';
    settings.inputFormat = 'x';
  }
  if (!settings.inputFormat) settings.inputFormat = 'w';
  // The output is in Windows form in every run: a code table translates only Macintosh input.
  settings.codeTableInUse = settings.inputFormat == 'w' ? nullptr : settings.codeTable;
  settings.codePage = ChooseCodePage(settings, errors);
}

std::vector<std::string> PrepkitArguments(const RunSettings& settings, const char* program) {
  std::vector<std::string> args = {program};
  if (settings.hasPrepkitSwitch) args.push_back("/" + settings.prepkitSwitch);
  args.push_back(settings.inputName);
  args.push_back(settings.outputName);
  return args;
}

int MainCons(int argc, char** argv) {
  RunState run;
  try {
    return Run(argc, argv, run);
  } catch (const FatalError& error) {
    return FailRun(error, run);
  } catch (const std::bad_alloc&) {
    return FailRun(MemoryError(), run);
  }
}

}  // namespace tessel
