#include "images/SvgRenderer.h"

#include <cstdio>
#include <vector>

#include "Common/Format.h"
#include "images/SvgLookup.h"
#include "images/SvgModule.h"
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

bool ModifySVG(SvgSourceIndex& sources, std::string_view programPath, int colourScheme, float scale,
               std::string_view destinationDir, std::string_view baseName, int svgWidth, int svgHeight,
               std::string_view sourceSvg, std::string& workingSvg) {
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
  sources.Changed(temp);

  workingSvg = temp;
  if (platform::FileExists(temp)) return true;
  std::fprintf(stderr, "# WARNING: ModifySVG could not modify SVG (empty or bad svg): %s\n", temp.c_str());
  return false;
}

bool ConvertSVGToPNG(SvgRendererModule& renderer, SvgSourceIndex& sources, std::string_view programPath,
                     std::string_view svgPath, std::string_view pngPath, std::string_view destinationDir,
                     std::string_view baseName, float scale, int svgWidth, int svgHeight, int colourScheme) {
  std::string working(svgPath);
  if (!ModifySVG(sources, programPath, colourScheme, scale, destinationDir, baseName, svgWidth, svgHeight, svgPath,
                 working)) {
    return false;
  }
  // The recoloured copy goes whatever happens, a fatal error of the renderer included.
  struct TemporarySvg {
    SvgSourceIndex& sources;
    std::string path;
    ~TemporarySvg() {
      if (path.empty()) return;
      platform::DeleteFile(path);
      sources.Changed(path);
    }
  } temporary{sources, working != svgPath ? working : std::string()};

  std::optional<int> width = ScaledSize(svgWidth, scale);
  std::optional<int> height = ScaledSize(svgHeight, scale);
  if (!width || !height) return false;
  bool result = renderer.Render(working, std::string(pngPath), *width, *height);
  sources.Changed(pngPath);
  return result;
}

}  // namespace tessel
