// The interface between tessel and its SVG renderer module: one C function with plain types,
// so that the program and the module only meet through the dynamic loader.
#pragma once

extern "C" {
// Receives the bytes of the PNG; 1 when they were stored, 0 otherwise.
typedef int (*TesselPngWrite)(void* closure, const unsigned char* data, unsigned int length);
// Renders the SVG file at `svgPath` (as the system takes it), stretched to fill `width` x
// `height` pixels, and hands the PNG to `write` (the program stores it like every other output
// it writes). 1 when the whole PNG was handed over, 0 otherwise. Never throws and never ends
// the process.
typedef int (*TesselSvgRender)(const char* svgPath, int width, int height, TesselPngWrite write, void* closure);
}

namespace tessel {
inline constexpr const char* kSvgModuleFile = "libtessel-svg.so";
// The exported name carries the interface version: a module of another version fails to load.
inline constexpr const char* kSvgRenderSymbol = "tessel_svg_render_v1";
}  // namespace tessel
