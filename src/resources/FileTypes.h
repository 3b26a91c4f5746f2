// 'FTGP' and 'FTYP' resources and the check of the file-type group graph.
#pragma once

namespace tessel {

struct Context;

// The two record lists the resource loop owns for the whole run.
struct FileTypeState {};

void ConvertFileTypeGroup(Context& ctx);
void ConvertFileType(Context& ctx);
// Checks the group graph after the last resource.
void CheckFileTypeGraph(Context& ctx);

}  // namespace tessel
