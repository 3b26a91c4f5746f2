// Shared set-up of the fuzz targets: a private work directory with a fixed set of data and
// image files, quiet standard streams, and whole runs of the program on the fuzz input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzsupport {

// Once per process: makes the work directory current (TESSEL_FUZZ_WORK when set, else a fresh
// directory under /dev/shm or the temporary folder, removed at exit), writes the fixture files
// into it, points standard input and output at /dev/null and sends the program's writes to
// the standard error stream to /dev/null (the fuzzer's and the sanitizers' reports still show).
// The fuzzer reads its corpus after this change of directory: give it absolute paths.
void Setup();

// Writes a file of the work directory (a name without directory parts).
void WriteFile(const std::string& name, const uint8_t* data, size_t size);
void WriteFile(const std::string& name, const std::string& content);

// Removes what earlier runs left behind ("out" and "dest"), then runs the whole program with
// the program name "tessel" and these arguments; returns its exit code.
int RunTessel(const std::vector<std::string>& args);

// The same for the Prepkit utility on its own argument vector.
int RunPrepkit(const std::vector<std::string>& args);

// Paths of the fixtures for the option sets: image directory and data directory.
inline constexpr const char* kImageDir = "img";
inline constexpr const char* kDataDir = "data";

}  // namespace fuzzsupport
