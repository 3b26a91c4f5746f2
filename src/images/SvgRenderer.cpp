#include "images/SvgRenderer.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdio>
#include <vector>

#include "Common/Format.h"
#include "platform/OutputFile.h"
#include "platform/Platform.h"

namespace tessel {

namespace {

constexpr std::string_view kToolFolder = "Tessel";
constexpr std::string_view kEditorDir = "../../Common/QX/SVGEditor/";
constexpr std::string_view kScript = "modifySVG.pl";
constexpr std::string_view kBundledPerl = "../Perl/bin/perl";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// (int)(size * scale) with the product in single precision; none when that is no drawable size.
std::optional<int> ScaledSize(int size, float scale) {
  float product = static_cast<float>(size) * scale;
  if (!(product >= 1.0f && product < 32768.0f)) return std::nullopt;
  return static_cast<int>(product);
}

// The temporary SVG the script is asked to write; it does not exist before the script runs.
std::string TemporarySvgName(std::string_view destinationDir, std::string_view baseName, int svgWidth, int svgHeight,
                             float scale) {
  if (!destinationDir.empty()) return platform::UniqueTempName(destinationDir, "tessel", ".svg");
  std::string name = FormatText("%s_%dx%d_%.2fxTmp.svg", std::string(baseName).c_str(), svgWidth, svgHeight,
                                static_cast<double>(scale));
  platform::DeleteFile(name);  // a leftover must not pass for the script's output
  return name;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  FILE* file = static_cast<FILE*>(closure);
  return std::fwrite(data, 1, length, file) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// The rendering is written like every output (see platform::OutputFile).
bool WritePng(cairo_surface_t* surface, std::string_view pngPath) {
  platform::OutputFile file;
  return file.Open(pngPath) && cairo_surface_write_to_png_stream(surface, WriteToFile, file.Stream()) ==
                                   CAIRO_STATUS_SUCCESS && file.Commit();
}

}  // namespace

std::optional<std::string> ToolRoot(std::string_view programPath) {
  size_t start = 0;
  for (size_t i = 0; i < programPath.size(); ++i) {
    if (!IsSeparator(programPath[i])) continue;
    if (programPath.substr(start, i - start) == kToolFolder) return std::string(programPath.substr(0, start));
    start = i + 1;
  }
  return std::nullopt;
}

bool ModifySVG(std::string_view programPath, int colourScheme, float scale, std::string_view destinationDir,
               std::string_view baseName, int svgWidth, int svgHeight, std::string_view sourceSvg,
               std::string& workingSvg) {
  std::string configName = colourScheme == 1 ? "SVG_ColorChange_Win.conf" : "SVG_ColorChange_DarkMode_Win.conf";
  // Without an installation of the tools the source is rendered as it is.
  std::optional<std::string> root = ToolRoot(programPath);
  if (!root) return true;

  std::string editorDir = *root + std::string(kEditorDir);
  if (platform::FileSize(editorDir + configName) <= 0) return true;
  std::string script = editorDir + std::string(kScript);
  if (!platform::FileExists(script)) return true;

  std::string temp = TemporarySvgName(destinationDir, baseName, svgWidth, svgHeight, scale);
  std::string perl = *root + std::string(kBundledPerl);
  perl = platform::IsExecutable(perl) ? platform::FullPath(perl) : "perl";
  // The command runs in the tool root, so every path it gets is absolute; no shell is involved.
  platform::TemporaryName removedOnSignal(temp);
  std::vector<std::string> argv = {perl,
                                   platform::FullPath(script),
                                   configName,
                                   platform::FullPath(sourceSvg),
                                   platform::FullPath(temp),
                                   FormatText("%.2f", static_cast<double>(scale))};
  platform::RunProgram(argv, root->empty() ? "." : *root);

  workingSvg = temp;
  if (platform::FileExists(temp)) return true;
  std::fprintf(stderr, "# WARNING: ModifySVG could not modify SVG (empty or bad svg): %s\n", temp.c_str());
  return false;
}

bool ConvertSVGToPNG(std::string_view programPath, std::string_view svgPath, std::string_view pngPath,
                     std::string_view destinationDir, std::string_view baseName, float scale, int svgWidth,
                     int svgHeight, int colourScheme) {
  std::string working(svgPath);
  if (!ModifySVG(programPath, colourScheme, scale, destinationDir, baseName, svgWidth, svgHeight, svgPath, working))
    return false;

  RsvgHandle* handle = rsvg_handle_new_from_file(platform::NativePath(working).c_str(), nullptr);
  if (working != svgPath) platform::DeleteFile(working);
  if (!handle) return false;

  std::optional<int> width = ScaledSize(svgWidth, scale);
  std::optional<int> height = ScaledSize(svgHeight, scale);
  RsvgDimensionData own{};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  rsvg_handle_get_dimensions(handle, &own);
#pragma GCC diagnostic pop
  if (!width || !height || own.width <= 0 || own.height <= 0) {
    g_object_unref(handle);
    return false;
  }

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, *width, *height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return false;
  }
  cairo_t* cr = cairo_create(surface);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return false;
  }
  // Stretched to fill the target exactly, whatever the aspect ratio of the drawing.
  cairo_scale(cr, static_cast<double>(*width) / own.width, static_cast<double>(*height) / own.height);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  bool result = rsvg_handle_render_cairo(handle, cr) && WritePng(surface, pngPath);
#pragma GCC diagnostic pop
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  g_object_unref(handle);
  return result;
}

}  // namespace tessel
