#include "images/SvgModule.h"

#include <cstdio>

#include "platform/OutputFile.h"
#include "platform/Platform.h"

#ifndef TESSEL_SVG_MODULE_SUBDIR
#define TESSEL_SVG_MODULE_SUBDIR "../lib/tessel"
#endif

namespace tessel {

std::vector<std::string> SvgRendererModule::DefaultCandidates(const std::string& programDirectory) {
  if (programDirectory.empty()) return {};
  std::string dir = programDirectory.back() == '/' ? programDirectory : programDirectory + "/";
  return {dir + kSvgModuleFile, dir + TESSEL_SVG_MODULE_SUBDIR "/" + kSvgModuleFile};
}

bool SvgRendererModule::Render(const std::string& svgPath, const std::string& pngPath, int width, int height) {
  if (!render_) Load();
  // The rendering is written like every output (see platform::OutputFile).
  platform::OutputFile file;
  if (!file.OpenSmall(pngPath)) return false;
  auto write = [](void* closure, const unsigned char* data, unsigned int length) -> int {
    return std::fwrite(data, 1, length, static_cast<FILE*>(closure)) == length ? 1 : 0;
  };
  return render_(platform::NativePath(svgPath).c_str(), width, height, write, file.Stream()) == 1 && file.Commit();
}

void SvgRendererModule::Load() {
  if (!explicitCandidates_) candidates_ = DefaultCandidates(platform::ExecutableDirectory());
  if (candidates_.empty()) {
    errors_.GeneralError("SVG renderer module %s not found: the folder of the program is unknown", kSvgModuleFile);
  }
  // The first file that exists is the module; a broken one is not passed over.
  std::string path;
  for (const std::string& candidate : candidates_) {
    if (platform::FileExists(candidate)) {
      path = candidate;
      break;
    }
  }
  std::string others;
  if (path.empty()) {
    path = candidates_.front();
    for (size_t i = 1; i < candidates_.size(); ++i) others += (i == 1 ? "; also looked for " : ", ") + candidates_[i];
  }
  std::string error;
  void* library = platform::LoadLibrary(path, error);
  void* symbol = library ? platform::LibrarySymbol(library, kSvgRenderSymbol, error) : nullptr;
  if (!symbol) {
    errors_.GeneralError("SVG renderer module missing or broken: %s (%s)%s", path.c_str(), error.c_str(),
                         others.c_str());
  }
  render_ = reinterpret_cast<TesselSvgRender>(symbol);
}

}  // namespace tessel
