#include "resources/ResourceLoop.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "dialogs/Dialog.h"
#include "dialogs/DialogHelp.h"
#include "encoding/CodeTables.h"
#include "encoding/TranscodeUtils.h"
#include "frontend/Preprocessor.h"
#include "images/ImageResources.h"
#include "resources/Alerts.h"
#include "resources/ConfigResources.h"
#include "resources/Context.h"
#include "resources/DataFiles.h"
#include "resources/FileTypes.h"
#include "resources/GuidLists.h"
#include "resources/IdentifierPairs.h"
#include "resources/StringResources.h"

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
template <typename Writer>
void DependencyBranch(Context& ctx, bool savedOutput, bool& firstEntry, Writer writer) {
  ctx.out.SetOutputEnabled(savedOutput);
  int indent = 1;
  if (!firstEntry) {
    ctx.out.WriteString(" \\");
    ctx.out.WriteNewLine();
    indent = static_cast<int>(ctx.envVariable.size()) + 3;
  }
  firstEntry = false;
  writer(ctx, ctx.destinationPath, indent);
  ctx.out.SuspendOutput();
}

// Calls the handler of a resource type keyword; false when the keyword has none in this mode.
bool Dispatch(Context& ctx, int code, bool savedOutput, bool& firstEntry) {
  switch (code) {
    case RES_STR_LIST:
    case RES_STRM:  // written exactly as 'STR#'
      ConvertStringList(ctx, "STRS");
      return true;
    case RES_STRF:
      ConvertStringList(ctx, "STRf");
      return true;
    case RES_STR:
      ConvertSingleString(ctx);
      return true;
    case RES_MDID:
      ConvertIdentifierPair(ctx);
      return true;
    case RES_QALR:
      ConvertAlert(ctx);
      return true;
    case RES_FTGP:
      ConvertFileTypeGroup(ctx);
      return true;
    case RES_FTYP:
      ConvertFileType(ctx);
      return true;
    case RES_TEXT:
      if (ctx.mode == 'd') {
        DependencyBranch(ctx, savedOutput, firstEntry, ListTextDependency);
      } else {
        ConvertTextFile(ctx);  // modes h and m only read and check it
      }
      return true;
    case RES_FILE:
      ConvertFile(ctx);
      return true;
    case RES_DATA:
      ConvertDataFile(ctx, "DATA");
      return true;
    case RES_JSON:
      ConvertDataFile(ctx, "JSON");
      return true;
    case RES_JSSC:
      ConvertDataFile(ctx, "JSSC");
      return true;
    case RES_ACNF:
      ConvertConfigRecord(ctx);
      return true;
    case RES_ACP0:
      ConvertLabelValueList(ctx);
      return true;
    case RES_CMND:
      ConvertCommandTable(ctx);
      return true;
    case RES_LAY2:
      ConvertLay2List(ctx);
      return true;
    case RES_MEPS:
      ConvertMepsList(ctx);
      return true;
    case RES_QDLG:
      if (ctx.target == 'e') {
        ctx.Fail("Conversion of Menu, Menubar and Dialog resources are not supported for emulation.");
      }
      ConvertDialog(ctx);
      return true;
    case RES_DLGH:
    case RES_DHLP:
      ConvertDialogHelp(ctx, code);
      return true;
    case RES_QICN:
    case RES_QCSR: {
      bool icon = code == RES_QICN;
      if (ctx.mode == 'd') {
        DependencyBranch(ctx, savedOutput, firstEntry, icon ? ListIconDependency : ListCursorDependency);
      } else {
        // Modes h and m read and check it through the same handler; only mode r makes image files.
        icon ? ConvertIcon(ctx) : ConvertCursor(ctx);
      }
      return true;
    }
    case RES_ICN_LIST:
      ConvertIconList(ctx);
      return true;
    default:
      return false;
  }
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
  FILE* out = ctx.out.OutputFile();
  if (out && std::ftell(out) == 0) {
    std::string_view mark = TranscodeUtils::TargetMark(ctx.settings.targetEncoding);
    if (!mark.empty()) std::fwrite(mark.data(), 1, mark.size(), out);
  }
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
  ctx.hasFirstPath = !ctx.paths.empty();
  ctx.firstPath = ctx.hasFirstPath ? ctx.paths.front() : std::string();
  ctx.outputDir = OutputDirectory(out.OutputFileName());

  if (!ctx.settings.keysPass) {
    if (ctx.mode != 'q' && !ctx.keys.IsKeyExtraction()) lex.ClearBlockComments();
    preprocessor.Run(lex.Text() + lex.TextStart());
  }
  if (ctx.mode == 'p' || ctx.mode == 'q') {
    WritePreprocessedText(ctx);
    return;
  }
  if (ctx.mode == 'd') {
    out.WriteString(ctx.envVariable);
    out.WriteString(" =");
  }
  bool savedOutput = out.OutputEnabled();
  if (ctx.mode == 'd' || ctx.mode == 'h' || ctx.mode == 'm') out.SuspendOutput();
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
      if (!Dispatch(ctx, token, savedOutput, firstEntry)) lex.Fail(kStructureError);
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
  if (ctx.mode == 'd') out.WriteNewLine();
}

}  // namespace tessel
