// The SVG renderer module: librsvg, cairo and GLib are loaded only by a run that renders an
// SVG, through a module of tessel (libtessel-svg.so) opened on the first rendering.
#pragma once

#include <string>
#include <vector>

#include "Common/Errors.h"
#include "images/SvgModuleAbi.h"

namespace tessel {

class SvgRendererModule {
 public:
  // Looks for the module beside the program, then in the library folder of an installation.
  explicit SvgRendererModule(ErrorContext& errors) : errors_(errors) {}
  // Looks for exactly these files, in order.
  SvgRendererModule(ErrorContext& errors, std::vector<std::string> candidates)
      : errors_(errors), candidates_(std::move(candidates)), explicitCandidates_(true) {}

  // Renders the SVG stretched to width x height and writes the PNG; true when it was written.
  // The first call loads the module: a missing or broken one is a fatal error that names it.
  bool Render(const std::string& svgPath, const std::string& pngPath, int width, int height);

  // Where an installed or built program looks for the module.
  static std::vector<std::string> DefaultCandidates(const std::string& programDirectory);

 private:
  void Load();

  ErrorContext& errors_;
  std::vector<std::string> candidates_;
  bool explicitCandidates_ = false;
  TesselSvgRender render_ = nullptr;
};

}  // namespace tessel
