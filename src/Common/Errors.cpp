#include "Common/Errors.h"

#include <cstdarg>
#include <vector>

#include "platform/Platform.h"

namespace tessel {

namespace {
constexpr size_t kMessageBuffer = 4096;
constexpr size_t kErrorFileNameLimit = 31;
constexpr size_t kResourceIdLimit = 259;
}  // namespace

void ErrorContext::Setup(const char* errorFileName) {
  errorFile_.Discard();
  errorFileName_.clear();
  hasResourceId_ = false;
  resourceId_.clear();
  if (!errorFileName) return;
  errorFileName_ = std::string(errorFileName).substr(0, kErrorFileNameLimit);
  if (!errorFileName_.empty() && errorFileName_[0] == '#') return;
  // An error file of an earlier run must not outlive this one.
  platform::RemoveOutput(errorFileName_);
  if (!errorFile_.Open(errorFileName_)) {
    FatalError error;
    error.text = "General error: Can't open the error file";
    error.report = "\n\n" + error.text + "\n\n";
    throw error;
  }
}

void ErrorContext::SetResourceID(const char* id) {
  if (!id) {
    hasResourceId_ = false;
    resourceId_.clear();
    return;
  }
  hasResourceId_ = true;
  resourceId_ = std::string(id).substr(0, kResourceIdLimit);
  lastResourceId_ = resourceId_;
}

std::string ErrorContext::Compose(std::string_view text, int line) const {
  if (line < 1) return "\n\n" + std::string(text) + "\n\n";
  std::string dir = currentDir_.empty() ? platform::CurrentDirectory() : currentDir_;
  if (dir.empty() || dir.back() != '/') dir += '/';
  std::string prefix = dir;
  std::string name = inputName_;
  if (!name.empty() && name[0] == '/') {
    prefix.clear();
  } else if (name.size() >= 2 && name[0] == '.' && (name[1] == '/' || name[1] == '\\')) {
    if (name.size() > 2) name = name.substr(2);
  }
  return "\n\n" + prefix + name + " (" + std::to_string(line) + ") : " + std::string(text) + "\n\n";
}

void ErrorContext::Fatal(std::string text, int line) {
  FatalError error;
  error.report = Compose(text, line);
  error.text = std::move(text);
  throw error;
}

void ErrorContext::ErrorExit(std::string_view message) { Fatal(std::string(message), 0); }

void ErrorContext::GeneralError(const char* format, ...) {
  std::vector<char> buf(kMessageBuffer);
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf.data(), buf.size(), format, args);
  va_end(args);
  Fatal(std::string("GeneralError: ") + buf.data(), 0);
}

void ErrorContext::SourceError(std::string_view message, std::string_view detail, std::string_view detail2, int line) {
  std::string text;
  text.reserve(message.size() + detail.size() + detail2.size() + 16);
  text.append(message).append(detail).append(detail2);
  if (hasResourceId_) text.append("  (ResID: ").append(resourceId_).append(")");
  Fatal(std::move(text), line);
}

void ErrorContext::Usage() { Silent(); }

void ErrorContext::Silent() {
  FatalError error;
  error.silent = true;
  throw error;
}

void ErrorContext::Deliver(const FatalError& error) {
  if (error.silent) return;
  if (errorFile_.IsOpen()) {
    size_t written = std::fwrite(error.report.data(), 1, error.report.size(), errorFile_.Stream());
    bool failed = written != error.report.size();
    if (!errorFile_.Commit()) failed = true;
    if (failed) std::fputs("\n\nGeneral error: File write error\n\n", stdout);
  } else {
    std::fwrite(error.report.data(), 1, error.report.size(), stdout);
  }
  std::fflush(stdout);
}

void ErrorContext::Finish() {
  if (errorFile_.IsOpen()) {
    errorFile_.Discard();
  } else if (!errorFileName_.empty() && errorFileName_[0] == '#') {
    std::fputs(errorFileName_.c_str() + 1, stdout);
  }
}

}  // namespace tessel
