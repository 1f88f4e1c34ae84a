#include "render/image.hpp"

#include <cairo-svg.h>
#include <cairo.h>

#include <cctype>
#include <cmath>

#include "render/canvas.hpp"
#include "render/draw.hpp"

namespace ostrel::render {
namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

bool usableScale(double scale) {
  return std::isfinite(scale) && scale > 0 && scale <= 16;
}

}  // namespace

std::optional<Format> formatFor(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
  std::string ext(path.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "png") return Format::png;
  if (ext == "svg") return Format::svg;
  return std::nullopt;
}

double pixelLength(RenderOptions options) {
  if (options.format == Format::svg) return 1;
  return usableScale(options.scale) ? 1 / options.scale : 0.5;
}

Result<std::string> encodeImage(double width, double height, RenderOptions options,
                                const std::function<void(cairo_t*)>& paint) {
  if (!usableScale(options.scale)) {
    return RenderError{RenderError::Kind::drawing, "scale must be greater than 0 and at most 16"};
  }
  std::string bytes;
  cairo_surface_t* surface = nullptr;
  const double scale = options.format == Format::png ? options.scale : 1;
  if (options.format == Format::png) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil(width * scale)),
                                         static_cast<int>(std::ceil(height * scale)));
  } else {
    surface = cairo_svg_surface_create_for_stream(appendBytes, &bytes, width, height);
    // One CSS pixel per point, not Cairo's default of points (a third larger in viewers).
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  }
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  paint(cr);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS && options.format == Format::png) {
    status = cairo_surface_write_to_png_stream(surface, appendBytes, &bytes);
  }
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    return RenderError{RenderError::Kind::drawing,
                       std::string("drawing failed: ") + cairo_status_to_string(status)};
  }
  return bytes;
}

Result<std::string> renderWidget(const View& view, WidgetFamily family, ColorScheme scheme,
                                 const PangoMeasurer& text, RenderOptions options) {
  const Canvas c = canvasFor(family);
  const double pixel = pixelLength(options);
  return encodeImage(c.width, c.height, options,
                     [&](cairo_t* cr) { drawWidget(cr, view, family, scheme, text, pixel); });
}

}  // namespace ostrel::render
