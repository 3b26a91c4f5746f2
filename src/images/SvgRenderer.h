// Rendering of SVG sources into PNG files, after the optional colour change by the external
// script of the tool installation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessel {

class SvgRendererModule;
class SvgSourceIndex;

// The installation root of the colour-change tools: the program path cut just after the
// separator that precedes its first folder named exactly "Tessel" (empty when that folder
// starts the path). None when no folder of the path has that name.
std::optional<std::string> ToolRoot(std::string_view programPath);

// Colour scheme 1 selects "SVG_ColorChange_Win.conf", 0 "SVG_ColorChange_DarkMode_Win.conf".
// Returns false when rendering must not go on (the script wrote no temporary SVG); true with
// `workingSvg` unchanged when no colour change applies; true with `workingSvg` set to the
// temporary SVG written by the script otherwise.
// `svgWidth` and `svgHeight` (the size in the source name) name the temporary SVG, whose
// appearance is reported to `sources`.
bool ModifySVG(SvgSourceIndex& sources, std::string_view programPath, int colourScheme, float scale,
               std::string_view destinationDir, std::string_view baseName, int svgWidth, int svgHeight,
               std::string_view sourceSvg, std::string& workingSvg);

// Renders the SVG (after the colour change) at (int)(width * scale) x (int)(height * scale),
// stretched to fill that size, and writes the PNG. The temporary SVG of the colour change is
// deleted after the rendering. True when the PNG was written. The files made and deleted are
// reported to `sources`.
bool ConvertSVGToPNG(SvgRendererModule& renderer, SvgSourceIndex& sources, std::string_view programPath,
                     std::string_view svgPath, std::string_view pngPath, std::string_view destinationDir,
                     std::string_view baseName, float scale, int svgWidth, int svgHeight, int colourScheme);

}  // namespace tessel
