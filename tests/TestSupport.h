// Helpers shared by the unit tests: a temporary directory and in-memory runs.
#pragma once

#include <string>

namespace testsupport {

// A fresh directory under the system's temporary folder, removed with its contents at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

// Makes a directory the current one while it lives.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path);
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;
  ~WorkingDirectory();

 private:
  std::string previous_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

}  // namespace testsupport
