// The state objects of one run and the handler context over them, for tests that call handlers
// or the resource loop directly, with the outputs (script, anchor list, resource list) in memory.
#pragma once

#include <string>
#include <utility>

#include "Common/MainCons.h"
#include "Common/Settings.h"
#include "TestSupport.h"
#include "frontend/Preprocessor.h"
#include "resources/Context.h"
#include "resources/ResourceLoop.h"

namespace testsupport {

// What a conversion in memory left: the three outputs, and the fatal error that ended it.
struct Conversion {
  bool failed = false;
  std::string message;  // the composed message, as the Write_Error line shows it
  std::string report;   // the laid-out report
  std::string script, anchorList, resourceList;
};

struct ContextFixture {
  TempDir dir;
  tessel::RunSettings settings;
  tessel::ErrorContext errors;
  tessel::Lexer lex{errors};
  tessel::OutputWriter out{errors};
  tessel::KeyContext keys{errors};
  tessel::Context ctx{settings, errors, lex, out, keys};

  // The source is "a.klx" in the temporary directory, the script "a.rc" beside it: the names
  // of `tessel -t w -i a.klx -o a.rc` run in that directory.
  ContextFixture() {
    settings.inputName = "a.klx";
    settings.outputName = dir.file("a.rc");
    settings.target = 'w';
    errors.SetInputName(settings.inputName);
    errors.SetCurrentDirectory(dir.path());
    out.OpenMemoryOutput(settings.outputName);
    out.Sink(tessel::OutputTarget::kAnchorList).OpenMemory();
  }

  std::string Text(tessel::OutputTarget target) const { return std::string(out.Sink(target).Text()); }
  std::string Script() const { return Text(tessel::OutputTarget::kScript); }

  // Empty when the conversion stopped with the message reported at the line; otherwise what
  // differed.
  std::string ErrorProblems(const Conversion& run, const std::string& message, int line) const {
    std::string problems;
    if (!run.failed) problems += "no error; ";
    if (run.message != message) problems += "message: " + run.message + "; ";
    const std::string located = "\n\n" + dir.path() + "/a.klx (" + std::to_string(line) + ") : " + message + "\n\n";
    if (run.report != located) problems += "report: " + run.report + "; ";
    return problems;
  }

  // Converts `source` as that run does up to the end of the resource loop: the include line,
  // the banner and every resource (the checks and copies after the loop are the driver's).
  Conversion Convert(std::string source) {
    Conversion result;
    const WorkingDirectory inside(dir.path());  // files named in the source are found beside it
    try {
      tessel::DeriveSettings(settings, errors);
      tessel::Preprocessor preprocessor(errors);
      lex.SetSource(std::move(source));
      tessel::ConnectFrontEnd(lex, preprocessor, keys, settings);
      keys.SetOutput(&out.Sink(tessel::OutputTarget::kScript));
      out.WriteLine("#include \"DGDefs.h\"");
      tessel::ConvertResources(ctx, preprocessor);
      keys.SetLexer(nullptr);
    } catch (const tessel::FatalError& error) {
      keys.SetLexer(nullptr);
      result.failed = true;
      result.message = error.text;
      result.report = error.report;
    }
    result.script = Script();
    result.anchorList = Text(tessel::OutputTarget::kAnchorList);
    result.resourceList = Text(tessel::OutputTarget::kResourceList);
    return result;
  }
};

// Converts `source` in memory (see ContextFixture::Convert).
inline Conversion ConvertSource(const std::string& source) {
  ContextFixture fixture;
  return fixture.Convert(source);
}

// A source error case: the source, the composed message (with its ResID part) and the line.
struct SourceErrorCase {
  const char* source;
  const char* message;
  int line;
};

// Empty when converting the source stopped with the message reported at the line; otherwise
// what differed.
inline std::string CheckSourceError(const SourceErrorCase& c) {
  ContextFixture fixture;
  return fixture.ErrorProblems(fixture.Convert(c.source), c.message, c.line);
}

}  // namespace testsupport
