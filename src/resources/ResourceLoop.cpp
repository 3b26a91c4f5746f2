#include "resources/ResourceLoop.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "encoding/CodeTables.h"
#include "encoding/TranscodeUtils.h"
#include "frontend/Preprocessor.h"
#include "resources/Context.h"
#include "resources/DataFiles.h"
#include "resources/FileTypes.h"
#include "resources/ResourceTypes.h"

namespace tessel {

namespace {

constexpr size_t kMaxPaths = 10;
constexpr const char* kStructureError =
    "Structure beginning keyword is expected or illegal keyword in this program mode";

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Modes p and q: the text line by line, every line end (CR LF, CR or LF) written as the output line end.
void WritePreprocessedText(Context& ctx) {
  const char* p = ctx.lex.Text() + ctx.lex.TextStart();
  const char* lineStart = p;
  while (*p) {
    if (*p == '\r' || *p == '\n') {
      ctx.out.WriteLine(std::string_view(lineStart, static_cast<size_t>(p - lineStart)));
      if (p[0] == '\r' && p[1] == '\n') ++p;
      lineStart = ++p;
    } else {
      ++p;
    }
  }
  ctx.out.WriteString(std::string_view(lineStart, static_cast<size_t>(p - lineStart)));
}

// Mode d: output on while one dependency entry is written.
void WriteDependencyEntry(Context& ctx, DependencyWriter writer, bool savedOutput, bool& firstEntry) {
  ctx.out.SetOutputEnabled(savedOutput);
  int indent = 1;
  if (!firstEntry) {
    ctx.out.WriteString(" \\");
    ctx.out.WriteNewLine();
    indent = static_cast<int>(ctx.settings.envVariable.size()) + 3;
  }
  firstEntry = false;
  writer(ctx, ctx.settings.destinationPath, indent);
  ctx.out.SuspendOutput();
}

// Calls the handler of a resource type keyword, or in mode d its dependency entry writer;
// false when the type has no handler. Modes d, h and m run with output suspended, so there
// the handler only reads and checks the resource.
bool Dispatch(Context& ctx, const ResourceType& type, bool savedOutput, bool& firstEntry) {
  if (!type.handler) return false;
  if (ctx.settings.mode == Mode::kDependencies && type.dependencyEntry) {
    WriteDependencyEntry(ctx, type.dependencyEntry, savedOutput, firstEntry);
  } else {
    type.handler(ctx, type);
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitPathList(std::string_view paths) {
  std::vector<std::string> entries;
  while (entries.size() + 1 < kMaxPaths) {
    size_t cut = paths.find(';');
    if (cut == std::string_view::npos) break;
    entries.emplace_back(paths.substr(0, cut));
    paths.remove_prefix(cut + 1);
  }
  entries.emplace_back(paths);
  return entries;
}

std::string OutputDirectory(std::string_view outputName) {
  size_t cut = outputName.find_last_of("\\/");
  return cut == std::string_view::npos ? std::string() : std::string(outputName.substr(0, cut));
}

void WriteBanner(Context& ctx) {
  // The mark goes before anything else, also before the key list of key extraction.
  OutputSink& script = ctx.out.Sink(OutputTarget::kScript);
  if (script.IsOpen() && script.AtStart()) script.Append(TranscodeUtils::TargetMark(ctx.settings.targetEncoding));
  if (ctx.keys.IsKeyExtraction()) return;
  constexpr std::string_view kRule =
      "/*                                                                                       */";
  std::string version = "/*---- Version 2.0 - Windows ";
  version.append(kRule.size() - version.size() - 2, '-');
  version += "*/";
  ctx.out.WriteNewLine();
  ctx.out.WriteString("/*---- This file was created by KLX compiler --------------------------------------------*/");
  ctx.out.WriteNewLine();
  ctx.out.WriteString(kRule);
  ctx.out.WriteNewLine();
  ctx.out.Printf("/*     Source file: %-32s        Code table: %-10s       */", ctx.settings.inputName.c_str(),
                 std::string(CodeTableName(ctx.settings.codeTableInUse)).c_str());
  ctx.out.WriteNewLine();
  ctx.out.WriteString(kRule);
  ctx.out.WriteNewLine();
  ctx.out.WriteString(version);
  ctx.out.WriteNewLine();
  ctx.out.WriteNewLine();
}

void RunResourceLoop(Context& ctx, Preprocessor& preprocessor, const std::string& pathsText, bool hasPaths) {
  Lexer& lex = ctx.lex;
  OutputWriter& out = ctx.out;

  if (hasPaths) ctx.paths = SplitPathList(pathsText);
  ctx.outputDir = OutputDirectory(out.OutputFileName());
  ctx.embeddedFiles.WatchDirectory(ctx.outputDir);

  if (!ctx.settings.keysPass) {
    if (ctx.settings.mode != Mode::kPreprocessKeepingComments && !ctx.keys.IsKeyExtraction()) lex.ClearBlockComments();
    preprocessor.Run(lex.Text() + lex.TextStart());
  }
  if (Preprocesses(ctx.settings.mode)) {
    WritePreprocessedText(ctx);
    return;
  }
  if (ctx.settings.mode == Mode::kDependencies) {
    out.WriteString(ctx.settings.envVariable);
    out.WriteString(" =");
  }
  bool savedOutput = out.OutputEnabled();
  if (SupportsBuild(ctx.settings.mode)) out.SuspendOutput();
  bool firstEntry = true;

  int token = lex.GetToken();
  while (token != TOK_END) {
    if (token == TOK_DIRECTIVE) {
      out.WriteLineBlank(TrimTrailingBlanks(lex.TokenText()));
    } else if (token == TOK_AT_LINE) {
      out.WriteLine(TrimTrailingBlanks(lex.TokenText() + 1));
    } else if (token == TOK_COMMAND) {
      // commands have no effect here
    } else if (IsResourceKeyword(token)) {
      std::string keyword = lex.TokenText();
      if (!Dispatch(ctx, ResourceTypeOf(token), savedOutput, firstEntry)) lex.Fail(kStructureError);
      if (ctx.errors.HasResourceID()) {
        out.ListResource(keyword.c_str(), ctx.errors.ResourceID().c_str(), lex.TokenLine());
      }
    } else {
      lex.Fail(kStructureError);
    }
    ctx.errors.SetResourceID(nullptr);
    if (lex.PeekToken() != TOK_END) lex.CheckLineEnd();
    token = lex.GetToken();
  }

  CheckFileTypeGraph(ctx);
  if (WriteFolderTable(ctx) > 0) out.ListResource("'FLDR'", "128", lex.TokenLine());
  out.SetOutputEnabled(savedOutput);
  if (ctx.settings.mode == Mode::kDependencies) out.WriteNewLine();
}

void ConnectFrontEnd(Lexer& lex, Preprocessor& preprocessor, KeyContext& keys, const RunSettings& settings) {
  lex.SetCodePage(settings.codePage);
  lex.SetKeyContext(&keys);
  lex.SetDirectiveReader(&preprocessor);
  keys.SetLexer(&lex);
  preprocessor.SetKeyHooks(&keys, &lex);
  preprocessor.StoreDirectiveIDs(settings.directiveIds);
  preprocessor.SetKeysPass(settings.keysPass);
}

bool ConvertResources(Context& ctx, Preprocessor& preprocessor) {
  const RunSettings& settings = ctx.settings;
  // Only conversions list resources; the other modes leave the list of a conversion alone.
  ctx.out.SetListsResources(ListsResources(settings.mode));
  if (ListsResources(settings.mode)) WriteBanner(ctx);
  const bool makeFile = settings.mode == Mode::kCheckMakeFile;
  const std::string& pathsText = makeFile ? settings.converterProgram : settings.paths;
  RunResourceLoop(ctx, preprocessor, pathsText, makeFile || settings.hasPaths);
  return ctx.dialogDefinitionsUsed;
}

}  // namespace tessel
