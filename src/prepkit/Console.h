// Prepkit's messages on standard output and its exit codes.
#pragma once

#include <string>
#include <string_view>

namespace tessel::prepkit {

inline constexpr int kExitDone = 0;
inline constexpr int kExitError = 3;
inline constexpr int kExitUsage = 4;
inline constexpr int kExitHelp = 1;  // the caller shows its usage text

// Message texts; a "%s" stands for a file name or a switch argument.
inline constexpr std::string_view kSameName = "can't use the same name '%s'";
inline constexpr std::string_view kOpenRead = "_open for _read the file '%s'";
inline constexpr std::string_view kOpenWrite = "_open for _write the file '%s'";
inline constexpr std::string_view kCannotCreate = "Can not create File";
inline constexpr std::string_view kSeekError = "Seek Error at %s File";
inline constexpr std::string_view kReadError = "Read Error at %s File";
inline constexpr std::string_view kWriteError = "Write Error at %s File";
inline constexpr std::string_view kMemoryError = "Memory Allocation Error";
inline constexpr std::string_view kEmptyFile = "Empty file";
inline constexpr std::string_view kFileTooLarge = "File too large";
inline constexpr std::string_view kReadPictSize = "Read Pict file size";
inline constexpr std::string_view kBadPictSize = "Bad Pict file size";
inline constexpr std::string_view kTooFewData = "Bitmap length mismatch: too few data";
inline constexpr std::string_view kInputTooLong = "Bitmap length mismatch: input file too long";
inline constexpr std::string_view kRle8Failed = "RLE8 Conversion at file '%s'";
inline constexpr std::string_view kFileTooShort = "File too short";
inline constexpr std::string_view kPaletteFailed = "pltt Extraction at file '%s'";
inline constexpr std::string_view kNoColor = "There is no color";
inline constexpr std::string_view kNonemptyFields = "Nonempty Data fields found";
inline constexpr std::string_view kBadMarkParams = "Bad CREATOR or TYPE parameters.";
inline constexpr std::string_view kBadOffsetParams = "Bad offset parameters.";
inline constexpr std::string_view kBadPictureParams = "Bad Picture parameters.";
inline constexpr std::string_view kUnknownSwitch = "'%s' Unknown switch.";

// The text with its "%s" replaced by the value.
std::string Fill(std::string_view text, std::string_view value);

// Every message of a run goes through here, flushed at once.
class Console {
 public:
  // "\nERROR: %s !\n"; returns the error exit code.
  int Error(std::string_view message) const;
  void Warning(std::string_view message) const;
  // The short usage with the program name; returns the usage exit code.
  int Usage(std::string_view program) const;
};

}  // namespace tessel::prepkit
