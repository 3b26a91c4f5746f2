// The resource loop: prepares the text, copies directive and at-sign lines, hands each
// resource to its handler and runs the end-of-run writers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

struct Context;
struct RunSettings;
class KeyContext;
class Lexer;
class Preprocessor;

// Cuts the paths text at ';' into at most 10 entries; the tenth keeps the rest.
std::vector<std::string> SplitPathList(std::string_view paths);
// The output name up to its last '\' or '/' (empty when it has neither).
std::string OutputDirectory(std::string_view outputName);

// Writes the banner of a conversion (the byte-order mark of the target encoding first
// when the output is still empty).
void WriteBanner(Context& ctx);

void RunResourceLoop(Context& ctx, Preprocessor& preprocessor, const std::string& pathsText, bool hasPaths);

// Joins the lexer (its source already set), the preprocessor and the key context of a run, as
// the settings ask (code page, directive IDs, keys pass).
void ConnectFrontEnd(Lexer& lex, Preprocessor& preprocessor, KeyContext& keys, const RunSettings& settings);
// The conversion of the mode: the banner where resources are listed, then the resource loop over
// the paths of the mode. Returns whether an alert or a dialog asked for the dialog definitions.
bool ConvertResources(Context& ctx, Preprocessor& preprocessor);

}  // namespace tessel
