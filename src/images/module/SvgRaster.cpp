// The SVG renderer module (libtessel-svg.so): the only code of tessel that links librsvg,
// cairo and GLib. The program loads it on its first SVG rendering.
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <type_traits>

#include "images/SvgModuleAbi.h"

namespace {
struct PngSink {
  TesselPngWrite write;
  void* closure;
};

cairo_status_t ToSink(void* closure, const unsigned char* data, unsigned int length) {
  auto* sink = static_cast<PngSink*>(closure);
  return sink->write(sink->closure, data, length) == 1 ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}
}  // namespace

extern "C" __attribute__((visibility("default"))) int tessel_svg_render_v1(const char* svgPath, int width, int height,
                                                                           TesselPngWrite write, void* closure) {
  if (!svgPath || !write || width < 1 || height < 1) return 0;
  RsvgHandle* handle = rsvg_handle_new_from_file(svgPath, nullptr);
  if (!handle) return 0;
  RsvgDimensionData own{};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  rsvg_handle_get_dimensions(handle, &own);
#pragma GCC diagnostic pop
  if (own.width <= 0 || own.height <= 0) {
    g_object_unref(handle);
    return 0;
  }

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return 0;
  }
  cairo_t* cr = cairo_create(surface);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return 0;
  }
  // Stretched to fill the target exactly, whatever the aspect ratio of the drawing.
  cairo_scale(cr, static_cast<double>(width) / own.width, static_cast<double>(height) / own.height);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  PngSink sink{write, closure};
  bool result = rsvg_handle_render_cairo(handle, cr) &&
                cairo_surface_write_to_png_stream(surface, ToSink, &sink) == CAIRO_STATUS_SUCCESS;
#pragma GCC diagnostic pop
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  g_object_unref(handle);
  return result ? 1 : 0;
}

static_assert(std::is_same_v<decltype(&tessel_svg_render_v1), TesselSvgRender>, "the module's entry point");
