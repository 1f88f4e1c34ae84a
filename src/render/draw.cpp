#include "render/draw.hpp"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "render/canvas.hpp"
#include "render/host_colors.hpp"

namespace ostrel::render {

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

/// `r` with each edge moved to the nearest device-pixel boundary of `cr`'s transformation (a scale
/// and a translation). An extent that would vanish keeps one pixel, the one holding its centre; an
/// empty extent stays empty.
Rect snapped(cairo_t* cr, const Rect& r) {
  double x0 = r.x, y0 = r.y, x1 = r.maxX(), y1 = r.maxY();
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return r;
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  auto edges = [](double& lo, double& hi) {
    if (lo > hi) std::swap(lo, hi);
    if (hi - lo <= 0) return;
    const double a = std::round(lo), b = std::round(hi);
    if (b > a) {
      lo = a;
      hi = b;
    } else {
      lo = std::floor((lo + hi) / 2);
      hi = lo + 1;
    }
  };
  edges(x0, x1);
  edges(y0, y1);
  cairo_device_to_user(cr, &x0, &y0);
  cairo_device_to_user(cr, &x1, &y1);
  return Rect{x0, y0, x1 - x0, y1 - y0};
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
  const Rect f = snapped(cr, p.frame);
  cairo_rectangle(cr, f.x, f.y, f.width, f.height);
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
  const Rect f = snapped(cr, p.frame);
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

}  // namespace ostrel::render
