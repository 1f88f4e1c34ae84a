#pragma once
/// \file render.hpp
/// Drawing with Cairo: a widget's view tree laid out on its canvas (small 170 × 170, medium
/// 364 × 170, large 364 × 382 points), clipped to its continuous rounded shape (radius 22), with the
/// host's colours for the appearance, encoded as PNG (at a scale, 2 by default) or SVG (in points);
/// and a gallery sheet of several widgets with a label under each.
///
///     auto fonts = PangoMeasurer::create();
///     auto png = renderWidget(face, WidgetFamily::systemSmall, ColorScheme::dark, *fonts, {});
///     if (png) auto written = writeFile("face.png", *png);
///
/// Every function returns its bytes or a `RenderError`; none throws.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/layout/layout.hpp"
#include "platform/render/text.hpp"
#include "platform/ui/environment.hpp"
#include "platform/ui/view.hpp"

using cairo_t = struct _cairo;  // NOLINT(bugprone-reserved-identifier): the library's own tag

namespace ostrel::render {

/// A widget's drawing area in points.
struct Canvas {
  double width = 170, height = 170;
  double cornerRadius = 22;
  double margin = 16;  ///< content margins when the widget has a container background
  friend constexpr bool operator==(const Canvas&, const Canvas&) = default;
};
[[nodiscard]] Canvas canvasFor(WidgetFamily family);

/// An sRGB colour with opacity, as drawn.
struct Rgba {
  double red = 0, green = 0, blue = 0, alpha = 1;
  friend constexpr bool operator==(const Rgba&, const Rgba&) = default;
};

/// The host's colours for an appearance: text (primary, secondary) and dividers.
struct HostColors {
  Rgba primary, secondary, divider;
};
[[nodiscard]] HostColors hostColors(ColorScheme scheme);
/// `color` as drawn in `scheme` (named colours resolved, opacity applied).
[[nodiscard]] Rgba resolve(const Color& color, ColorScheme scheme);

enum class Format { png, svg };
/// The format named by a file name's extension (".png", ".svg", any case), or none.
[[nodiscard]] std::optional<Format> formatFor(std::string_view path);

struct RenderOptions {
  Format format = Format::png;
  double scale = 2;  ///< device pixels per point for PNG; SVG is in points
};

/// Draws a laid-out tree in `scheme` on `cr` (user space in points).
void drawPlaced(cairo_t* cr, const layout::Placed& placed, ColorScheme scheme, const PangoMeasurer& text);

/// Lays out and draws one widget at the origin of `cr`, clipped to its rounded shape.
void drawWidget(cairo_t* cr, const View& view, WidgetFamily family, ColorScheme scheme,
                const PangoMeasurer& text, double pixelLength);

/// One widget as PNG or SVG bytes.
[[nodiscard]] Result<std::string> renderWidget(const View& view, WidgetFamily family, ColorScheme scheme,
                                               const PangoMeasurer& text, RenderOptions options);

/// One face of a gallery sheet.
struct GalleryItem {
  View view;
  WidgetFamily family = WidgetFamily::systemSmall;
  ColorScheme scheme = ColorScheme::light;
  std::string label;  ///< shown under the widget
  int row = 0;        ///< faces with the same row stand side by side, rows top to bottom
};

/// A sheet with every item in its row, each labelled, as PNG or SVG bytes.
[[nodiscard]] Result<std::string> renderGallery(const std::vector<GalleryItem>& items,
                                                const PangoMeasurer& text, RenderOptions options);

/// `width` × `height` points of transparent pixels as PNG at `scale` (the reference the drawing
/// benchmark compares with).
[[nodiscard]] Result<std::string> encodeBlankPng(double width, double height, double scale);

struct Written {};
/// Writes `bytes` to `path` (replacing it), or `unwritable` with the reason.
[[nodiscard]] Result<Written> writeFile(const std::string& path, const std::string& bytes);

}  // namespace ostrel::render
