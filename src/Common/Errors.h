// Fatal error reporting: every error ends the run with one composed report.
#pragma once

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "platform/OutputFile.h"

namespace tessel {

// The one exception of a fatal error. `report` is the full laid-out text
// ("\n\n...\n\n"), `text` the composed message without the layout. A silent
// error (the usage text, a reader that printed its own message) has both empty:
// everything was already shown, only the exit code 1 remains.
struct FatalError : std::exception {
  std::string text;
  std::string report;
  bool silent = false;
  const char* what() const noexcept override { return text.c_str(); }
};

class ErrorContext {
 public:
  // Forgets any earlier error file and resource ID; opens the error file when a
  // name is given (a name beginning with '#' opens nothing: the rest is a success text).
  void Setup(const char* errorFileName);
  void SetInputName(std::string name) { inputName_ = std::move(name); }
  const std::string& InputName() const { return inputName_; }
  // The current directory used in the location prefix (taken from the system when unset).
  void SetCurrentDirectory(std::string dir) { currentDir_ = std::move(dir); }

  [[noreturn]] void ErrorExit(std::string_view message);
  [[noreturn]] void GeneralError(const char* format, ...) __attribute__((format(printf, 2, 3)));
  [[noreturn]] void SourceError(std::string_view message, std::string_view detail, std::string_view detail2, int line);
  [[noreturn]] void Usage();   // after the usage text was shown
  [[noreturn]] void Silent();  // ends the run with exit code 1, nothing more to show

  void SetResourceID(const char* id);
  bool HasResourceID() const { return hasResourceId_; }
  const std::string& ResourceID() const { return resourceId_; }
  // The last ID set, still known after the context was cleared.
  const std::string& LastResourceID() const { return lastResourceId_; }

  // Builds the laid-out report for a text and a line (line < 1: no location).
  std::string Compose(std::string_view text, int line) const;

  // Called by the run driver with a caught error: writes the report to the error
  // file or standard output. The driver then deletes the output and prints the
  // Write_Error line.
  void Deliver(const FatalError& error);
  // Normal end: deletes the error file, or prints the success text of a '#' name.
  void Finish();

 private:
  [[noreturn]] void Fatal(std::string text, int line);

  platform::OutputFile errorFile_;
  std::string errorFileName_;
  std::string inputName_;
  std::string currentDir_;
  std::string resourceId_;
  std::string lastResourceId_;
  bool hasResourceId_ = false;
};

}  // namespace tessel
