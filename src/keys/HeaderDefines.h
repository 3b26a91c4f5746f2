// The header of named numbers given with -h: lines of "NAME = number" read into one table.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tessel {

class ErrorContext;
class ReadFiles;

class HeaderDefines {
 public:
  explicit HeaderDefines(ErrorContext& errors) : errors_(errors) {}

  // Adds the entries of a file to the table. True when the file was read or could not be
  // opened (a missing file adds nothing); false when closing it failed. A failure while
  // reading or storing prints its own message and ends the run.
  bool ReadInput(const std::string& fileName);
  // Every file ReadInput opens is noted there.
  void RecordReadsIn(ReadFiles* reads) { reads_ = reads; }
  // Adds the entries of a text read as one file; reading stops at the first entry that does
  // not fit the grammar "NAME = number".
  void ReadText(std::string_view text);
  void Clear() { table_.clear(); }
  // Name -> decimal text of the signed 16-bit value.
  const std::map<std::string, std::string>& Table() const { return table_; }

 private:
  ErrorContext& errors_;
  ReadFiles* reads_ = nullptr;
  std::map<std::string, std::string> table_;
};

}  // namespace tessel
