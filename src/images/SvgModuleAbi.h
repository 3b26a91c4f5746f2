// The interface between tessel and its SVG renderer module: one C function with plain types,
// so that the program and the module only meet through the dynamic loader.
#pragma once

extern "C" {
// Renders the SVG file at `svgPath`, stretched to fill `width` x `height` pixels, and writes it
// as a PNG file at `pngPath` (both paths as the system takes them). 1 when the PNG was
// written, 0 otherwise. Never throws and never ends the process.
typedef int (*TesselSvgRender)(const char* svgPath, const char* pngPath, int width, int height);
}

namespace tessel {
inline constexpr const char* kSvgModuleFile = "libtessel-svg.so";
// The exported name carries the interface version: a module of another version fails to load.
inline constexpr const char* kSvgRenderSymbol = "tessel_svg_render_v1";
}  // namespace tessel
