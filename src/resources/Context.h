// Everything a resource handler works with during one run: the explicit state objects
// of the run (settings, errors, lexer, output, keys) and the state the resource loop owns.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "Common/Depfile.h"
#include "Common/Errors.h"
#include "Common/Settings.h"
#include "dialogs/AnchorIndex.h"
#include "frontend/Lexer.h"
#include "images/SvgLookup.h"
#include "images/SvgModule.h"
#include "keys/KeyContext.h"
#include "resources/DataFiles.h"
#include "resources/FileTypes.h"
#include "resources/Output.h"

namespace TranscodeUtils {
class Transcoder;
}

namespace tessel {

struct Context {
  Context(RunSettings& s, ErrorContext& e, Lexer& l, OutputWriter& o, KeyContext& k)
      : settings(s), errors(e), lex(l), out(o), keys(k) {}

  RunSettings& settings;
  ErrorContext& errors;
  Lexer& lex;
  OutputWriter& out;
  KeyContext& keys;

  // Loop inputs
  TranscodeUtils::Transcoder* toTarget = nullptr;
  TranscodeUtils::Transcoder* toUtf16 = nullptr;
  std::string programPath;     // the running program, for the tool root of the colour change
  ReadFiles* reads = nullptr;  // the files read, for the dependency file

  // Loop state
  std::vector<std::string> paths;  // at most 10 entries of -p
  std::string outputDir;           // the output name up to its last separator
  bool dialogDefinitionsUsed = false;
  FileTypeState fileTypes;
  FolderTable folders;
  AnchorIndex anchorIndex;                // dialog titles and item anchors, found once per run
  SvgSourceIndex svgSources;              // the image directories, each listed once per run
  SvgRendererModule svgRenderer{errors};  // loaded on the first SVG rendering
  platform::ReadCache embeddedFiles;      // files embedded again are not looked up or read again

  // The first entry of the path list (the image directory); empty when there is none.
  const std::string& FirstPath() const {
    static const std::string kNone;
    return paths.empty() ? kNone : paths.front();
  }

  // Notes a file the run read (for the dependency file).
  void RecordRead(std::string_view path) {
    if (reads) reads->Record(path);
  }

  // Reports a source error at the lexer's current line.
  [[noreturn]] void Fail(std::string_view message, std::string_view detail = {}, std::string_view detail2 = {}) {
    lex.Fail(message, detail, detail2);
  }
};

}  // namespace tessel
