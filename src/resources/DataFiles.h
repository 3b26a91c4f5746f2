// Resources that embed files: 'TEXT', 'FILE', 'DATA', 'JSON', 'JSSC', and the folder table.
#pragma once

#include <string>
#include <vector>

namespace tessel {

struct Context;
struct ResourceType;

struct FolderEntry {
  std::string id;       // the 'FILE' resource's ID as written
  std::string folder;   // the folder literal's text in a new pair of double quotes
  std::u16string wide;  // the folder text as UTF-16, checked when the resource was read
  unsigned char flag = 0;
};

// One entry per 'FILE' resource, in source order.
struct FolderTable {
  std::vector<FolderEntry> entries;
  void clear() { entries.clear(); }
};

// Longest folder text, quotes excluded.
inline constexpr size_t kFolderTextLimit = 258;
// UTF-16 units of a folder name in the table, padding included.
inline constexpr size_t kFolderUnits = 261;

void ConvertTextFile(Context& ctx, const ResourceType& type);
// Mode d: the dependency entry of a 'TEXT' resource.
void ListTextDependency(Context& ctx, const std::string& destinationPath, int indent);
void ConvertFile(Context& ctx, const ResourceType& type);
void ConvertDataFile(Context& ctx, const ResourceType& type);
// Writes the 'FLDR' resource; returns the number of entries.
int WriteFolderTable(Context& ctx);

}  // namespace tessel
