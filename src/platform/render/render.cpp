#include "platform/render/render.hpp"

#include <cairo-svg.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/atomic_file.hpp"

namespace ostrel::render {

Canvas canvasFor(WidgetFamily family) {
  switch (family) {
    case WidgetFamily::systemMedium:
      return Canvas{.width = 364, .height = 170};
    case WidgetFamily::systemLarge:
      return Canvas{.width = 364, .height = 382};
    case WidgetFamily::systemSmall:
      break;
  }
  return Canvas{.width = 170, .height = 170};
}

HostColors hostColors(ColorScheme scheme) {
  if (scheme == ColorScheme::dark) {
    return HostColors{.primary = {1, 1, 1, 0.85}, .secondary = {1, 1, 1, 0.55}, .divider = {1, 1, 1, 0.15}};
  }
  return HostColors{.primary = {0, 0, 0, 0.85}, .secondary = {0, 0, 0, 0.5}, .divider = {0, 0, 0, 0.10}};
}

Rgba resolve(const Color& color, ColorScheme scheme) {
  const HostColors host = hostColors(scheme);
  auto clamp01 = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
  Rgba base;
  switch (color.kind) {
    case Color::Kind::rgb:
      base = Rgba{color.red, color.green, color.blue, 1};
      break;
    case Color::Kind::primary:
      base = host.primary;
      break;
    case Color::Kind::secondary:
      base = host.secondary;
      break;
    case Color::Kind::clear:
      return Rgba{0, 0, 0, 0};
  }
  return Rgba{clamp01(base.red), clamp01(base.green), clamp01(base.blue),
              clamp01(base.alpha * color.opacity)};
}

std::optional<Format> formatFor(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
  std::string ext(path.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "png") return Format::png;
  if (ext == "svg") return Format::svg;
  return std::nullopt;
}

namespace {

using layout::Placed;
using layout::Rect;

void setSource(cairo_t* cr, const Rgba& c) {
  cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

/// A rounded rectangle with continuous (curvature-smooth) corners: each corner starts 1.52866 × the
/// radius from the corner and is made of three cubic curves. Where that does not fit, circular
/// corners of at most half the shorter side.
void roundedRectPath(cairo_t* cr, const Rect& r, double radius) {
  constexpr double reach = 1.52866483;
  const double half = std::min(r.width, r.height) / 2;
  if (radius <= 0 || half <= 0) {
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    return;
  }
  if (radius * reach > half) {
    const double q = std::min(radius, half);
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.maxX() - q, r.y + q, q, -M_PI / 2, 0);
    cairo_arc(cr, r.maxX() - q, r.maxY() - q, q, 0, M_PI / 2);
    cairo_arc(cr, r.x + q, r.maxY() - q, q, M_PI / 2, M_PI);
    cairo_arc(cr, r.x + q, r.y + q, q, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    return;
  }
  struct Corner {
    double cx, cy, e1x, e1y, e2x, e2y;
  };
  const Corner corners[] = {{r.maxX(), r.y, -1, 0, 0, 1},
                            {r.maxX(), r.maxY(), 0, -1, -1, 0},
                            {r.x, r.maxY(), 1, 0, 0, -1},
                            {r.x, r.y, 0, 1, 1, 0}};
  // (along the incoming edge, along the outgoing edge) in radii, from the corner.
  constexpr double curve[3][6] = {{1.08849323, 0, 0.86840689, 0.02104717, 0.66993427, 0.06549600},
                                  {0.37282392, 0.15912752, 0.15912752, 0.37282392, 0.06549600, 0.66993427},
                                  {0.02104717, 0.86840689, 0, 1.08849323, 0, reach}};
  cairo_new_sub_path(cr);
  for (const Corner& k : corners) {
    auto at = [&](double a, double b, double& x, double& y) {
      x = k.cx + radius * (a * k.e1x + b * k.e2x);
      y = k.cy + radius * (a * k.e1y + b * k.e2y);
    };
    double x = 0, y = 0;
    at(reach, 0, x, y);
    cairo_line_to(cr, x, y);
    for (const auto& c : curve) {
      double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
      at(c[0], c[1], x1, y1);
      at(c[2], c[3], x2, y2);
      at(c[4], c[5], x3, y3);
      cairo_curve_to(cr, x1, y1, x2, y2, x3, y3);
    }
  }
  cairo_close_path(cr);
}

void drawGradient(cairo_t* cr, const Placed& p, ColorScheme scheme) {
  if (p.colors.empty()) return;
  const double cx = p.frame.x + p.center.x * p.frame.width;
  const double cy = p.frame.y + p.center.y * p.frame.height;
  cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, std::max(p.startRadius, 0.0), cx, cy,
                                                         std::max(p.endRadius, p.startRadius));
  const std::size_t n = p.colors.size();
  for (std::size_t i = 0; i < n; ++i) {
    Rgba c = resolve(p.colors[i], scheme);
    if (c.alpha == 0) {
      // A transparent stop takes its neighbour's hue, so the fade does not pass through grey.
      const std::size_t j = i > 0 ? i - 1 : (n > 1 ? 1 : 0);
      const Rgba neighbour = resolve(p.colors[j], scheme);
      c = Rgba{neighbour.red, neighbour.green, neighbour.blue, 0};
    }
    const double offset = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0;
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.red, c.green, c.blue, c.alpha);
  }
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, p.frame.x, p.frame.y, p.frame.width, p.frame.height);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

void drawText(cairo_t* cr, const Placed& p, ColorScheme scheme, const PangoMeasurer& text) {
  PangoLayout* l = text.makeLayout(p.text, p.textStyle, p.fit.scale, p.fit.width, p.fit.maxLines);
  PangoRectangle logical{};
  pango_layout_get_extents(l, nullptr, &logical);
  const double left = static_cast<double>(logical.x) / PANGO_SCALE;
  const double width = static_cast<double>(logical.width) / PANGO_SCALE;
  cairo_save(cr);
  if (width > p.frame.width + 0.01) {
    // Narrower than even an ellipsis: keep what is drawn inside the frame.
    cairo_rectangle(cr, p.frame.x, p.frame.y - p.frame.height, p.frame.width, 3 * p.frame.height);
    cairo_clip(cr);
  }
  setSource(cr, resolve(p.color, scheme));
  cairo_move_to(cr, p.frame.x - left, p.frame.y);
  pango_cairo_show_layout(cr, l);
  cairo_restore(cr);
  g_object_unref(l);
}

}  // namespace

void drawPlaced(cairo_t* cr, const Placed& p, ColorScheme scheme, const PangoMeasurer& text) {
  for (const Placed& b : p.behind) drawPlaced(cr, b, scheme, text);
  const Rect& f = p.frame;
  switch (p.kind) {
    case Placed::Kind::color:
      setSource(cr, resolve(p.color, scheme));
      cairo_rectangle(cr, f.x, f.y, f.width, f.height);
      cairo_fill(cr);
      break;
    case Placed::Kind::circle: {
      const double radius = std::min(f.width, f.height) / 2;
      if (radius > 0 && std::isfinite(radius)) {
        setSource(cr, resolve(p.color, scheme));
        cairo_new_sub_path(cr);
        cairo_arc(cr, f.x + f.width / 2, f.y + f.height / 2, radius, 0, 2 * M_PI);
        cairo_fill(cr);
      }
      break;
    }
    case Placed::Kind::roundedRectangle:
      setSource(cr, resolve(p.color, scheme));
      roundedRectPath(cr, f, p.cornerRadius);
      cairo_fill(cr);
      break;
    case Placed::Kind::gradient:
      drawGradient(cr, p, scheme);
      break;
    case Placed::Kind::divider:
      setSource(cr, hostColors(scheme).divider);
      cairo_rectangle(cr, f.x, f.y, f.width, f.height);
      cairo_fill(cr);
      break;
    case Placed::Kind::text:
      drawText(cr, p, scheme, text);
      break;
    case Placed::Kind::stack:
    case Placed::Kind::zstack:
    case Placed::Kind::spacer:
    case Placed::Kind::empty:
      break;
  }
  for (const Placed& c : p.children) drawPlaced(cr, c, scheme, text);
}

void drawWidget(cairo_t* cr, const View& view, WidgetFamily family, ColorScheme scheme,
                const PangoMeasurer& text, double pixelLength) {
  const Canvas c = canvasFor(family);
  const Rect area{0, 0, c.width, c.height};
  const layout::Placed placed =
      layout::layoutWidget(view, area, c.margin, text, layout::Options{.pixelLength = pixelLength});
  cairo_save(cr);
  roundedRectPath(cr, area, c.cornerRadius);
  cairo_clip(cr);
  drawPlaced(cr, placed, scheme, text);
  cairo_restore(cr);
}

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

RenderError drawingError(cairo_status_t status) {
  return RenderError{RenderError::Kind::drawing,
                     std::string("drawing failed: ") + cairo_status_to_string(status)};
}

bool usableScale(double scale) {
  return std::isfinite(scale) && scale > 0 && scale <= 16;
}

/// Draws `paint` on a surface of `width` × `height` points and encodes it.
template <class Paint>
Result<std::string> encode(double width, double height, RenderOptions options, Paint paint) {
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
  if (status != CAIRO_STATUS_SUCCESS) return drawingError(status);
  return bytes;
}

}  // namespace

Result<std::string> renderWidget(const View& view, WidgetFamily family, ColorScheme scheme,
                                 const PangoMeasurer& text, RenderOptions options) {
  const Canvas c = canvasFor(family);
  const double pixel = usableScale(options.scale) ? 1 / options.scale : 0.5;
  return encode(c.width, c.height, options,
                [&](cairo_t* cr) { drawWidget(cr, view, family, scheme, text, pixel); });
}

Result<std::string> renderGallery(const std::vector<GalleryItem>& items, const PangoMeasurer& text,
                                  RenderOptions options) {
  constexpr double margin = 24, gap = 24, labelGap = 8;
  const layout::TextStyle labelStyle{.font = Font::system(11, Font::Weight::medium)};
  const double labelHeight = text.measure("Ag", labelStyle, 1, std::nullopt, 1).height;

  struct Cell {
    const GalleryItem* item;
    double x, y;
    Canvas canvas;
  };
  std::vector<Cell> cells;
  double sheetWidth = 0, y = margin;
  for (std::size_t i = 0; i < items.size();) {
    const int row = items[i].row;
    double x = margin, rowHeight = 0;
    for (; i < items.size() && items[i].row == row; ++i) {
      const Canvas c = canvasFor(items[i].family);
      cells.push_back(Cell{&items[i], x, y, c});
      x += c.width + gap;
      rowHeight = std::max(rowHeight, c.height);
    }
    sheetWidth = std::max(sheetWidth, x - gap + margin);
    y += rowHeight + labelGap + labelHeight + gap;
  }
  const double sheetHeight = items.empty() ? 2 * margin : y - gap + margin;
  sheetWidth = std::max(sheetWidth, 2 * margin);
  const double pixel = usableScale(options.scale) ? 1 / options.scale : 0.5;

  return encode(sheetWidth, sheetHeight, options, [&](cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.80, 0.81, 0.83);
    cairo_paint(cr);
    for (const Cell& cell : cells) {
      cairo_save(cr);
      cairo_translate(cr, cell.x, cell.y);
      drawWidget(cr, cell.item->view, cell.item->family, cell.item->scheme, text, pixel);
      cairo_restore(cr);
      const layout::TextFit fit = layout::fitText(text, cell.item->label, labelStyle, cell.canvas.width);
      layout::Placed label;
      label.kind = layout::Placed::Kind::text;
      label.text = cell.item->label;
      label.textStyle = labelStyle;
      label.fit = fit;
      label.frame = Rect{cell.x, cell.y + cell.canvas.height + labelGap, fit.size.width, fit.size.height};
      drawPlaced(cr, label, ColorScheme::light, text);
    }
  });
}

Result<std::string> encodeBlankPng(double width, double height, double scale) {
  return encode(width, height, RenderOptions{.format = Format::png, .scale = scale}, [](cairo_t*) {});
}

Result<Written> writeFile(const std::string& path, const std::string& bytes) {
  const auto written = AtomicFile::write(path, bytes);
  if (!written) {
    return RenderError{RenderError::Kind::unwritable, "cannot write " + path + ": " + written.error().reason};
  }
  return Written{};
}

}  // namespace ostrel::render
