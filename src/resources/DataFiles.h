// Resources that embed files: 'TEXT', 'FILE', 'DATA', 'JSON', 'JSSC', and the folder table.
#pragma once

#include <string>

namespace tessel {

struct Context;

// One entry per 'FILE' resource, in source order.
struct FolderTable {};

void ConvertTextFile(Context& ctx);
// Mode d: the dependency entry of a 'TEXT' resource.
void ListTextDependency(Context& ctx, const std::string& destinationPath, int indent);
void ConvertFile(Context& ctx);
void ConvertDataFile(Context& ctx, const char* typeName);
// Writes the 'FLDR' resource; returns the number of entries.
int WriteFolderTable(Context& ctx);

}  // namespace tessel
