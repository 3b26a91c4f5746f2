// 'FTGP' and 'FTYP' resources and the check of the file-type group graph.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessel {

struct Context;
struct ResourceType;

inline constexpr size_t kNoRecord = static_cast<size_t>(-1);

// A name listed in a group, and the index of the record it resolved to.
struct FileTypeReference {
  std::string name;
  size_t resolved = kNoRecord;
};

// One per 'FTGP' resource, in source order.
struct FileTypeGroupRecord {
  std::string id;
  std::vector<FileTypeReference> children;  // nested groups
  std::vector<FileTypeReference> types;     // file types listed
  size_t parent = kNoRecord;
  bool visited = false;
  bool onPath = false;
};

// One per 'FTYP' resource, in source order.
struct FileTypeRecord {
  std::string id;
  std::vector<size_t> groups;  // the groups that list this type directly
};

// The two record lists the resource loop owns for the whole run. Records refer to
// each other by index, so the lists may grow freely.
struct FileTypeState {
  std::vector<FileTypeGroupRecord> groups;
  std::vector<FileTypeRecord> types;
};

void ConvertFileTypeGroup(Context& ctx, const ResourceType& type);
void ConvertFileType(Context& ctx, const ResourceType& type);
// Checks the group graph after the last resource and frees both lists.
void CheckFileTypeGraph(Context& ctx);

// Resolves the names and applies the graph rules in order; returns the message of the
// first rule broken, or null when the graph is sound.
const char* FindFileTypeGraphFault(FileTypeState& state);

// A four-character code token ("TEXT" with its quotes) as the number whose most
// significant byte is the first character.
uint32_t FourCharCode(const char* token);

}  // namespace tessel
