// The run's mode, chosen by the letter after -m, and what each mode does.
#pragma once

#include <optional>

namespace tessel {

enum class Mode {
  kConvert,                    // r (default), and i
  kPreprocess,                 // p
  kPreprocessKeepingComments,  // q
  kDependencies,               // d
  kCheckHelpBitmaps,           // h
  kCheckMakeFile,              // m
  kPrepkit,                    // k
};

struct ModeLetter {
  char letter;
  Mode mode;
};

inline constexpr ModeLetter kModeLetters[] = {
    {'r', Mode::kConvert},       {'i', Mode::kConvert},
    {'p', Mode::kPreprocess},    {'q', Mode::kPreprocessKeepingComments},
    {'d', Mode::kDependencies},  {'h', Mode::kCheckHelpBitmaps},
    {'m', Mode::kCheckMakeFile}, {'k', Mode::kPrepkit},
};

// The mode a lower-case letter names; i is run as r. Nothing for an unknown letter.
constexpr std::optional<Mode> ModeFromLetter(char letter) {
  for (const ModeLetter& entry : kModeLetters) {
    if (entry.letter == letter) return entry.mode;
  }
  return std::nullopt;
}

// Modes p and q: the preprocessed source is the output.
constexpr bool Preprocesses(Mode mode) { return mode == Mode::kPreprocess || mode == Mode::kPreprocessKeepingComments; }

// Modes h and m: the resources are checked and nothing but the include line is written.
constexpr bool ChecksOnly(Mode mode) { return mode == Mode::kCheckHelpBitmaps || mode == Mode::kCheckMakeFile; }

// Modes d, h and m: the build-support modes, whose own parsers leave target and input format fixed
// and whose loop suspends the script output.
constexpr bool SupportsBuild(Mode mode) { return mode == Mode::kDependencies || ChecksOnly(mode); }

// Only conversions list resources, write the banner and make image files.
constexpr bool ListsResources(Mode mode) { return mode == Mode::kConvert; }

}  // namespace tessel
