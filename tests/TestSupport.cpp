#include "TestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace testsupport {

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "tessel-test-XXXXXX").string();
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  path_ = buf.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const { WriteFile(file(name), content); }
std::string TempDir::read(const std::string& name) const { return ReadFile(file(name)); }
bool TempDir::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

WorkingDirectory::WorkingDirectory(const std::string& path) : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(path);
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << content;
}

}  // namespace testsupport
