#pragma once
/// \file image.hpp
/// Images of drawings: a surface of a given size in points, drawn on and encoded as PNG (at a scale
/// of device pixels per point, 2 by default) or SVG (one CSS pixel per point: a widget of 170 points
/// is 170 pixels wide in any viewer); and the image of one widget.
///
///     auto png = renderWidget(face, WidgetFamily::systemSmall, ColorScheme::dark, fonts, {});
///     if (png) auto written = AtomicFile::write("face.png", *png);

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "render/render_error.hpp"
#include "render/text.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

using cairo_t = struct _cairo;  // NOLINT(bugprone-reserved-identifier): the library's own tag

namespace ostrel::render {

enum class Format { png, svg };
/// The format named by a file name's extension (".png", ".svg", any case), or none.
[[nodiscard]] std::optional<Format> formatFor(std::string_view path);

struct RenderOptions {
  Format format = Format::png;
  double scale = 2;  ///< device pixels per point for PNG, more than 0 and at most 16; SVG is in points
};

/// `width` × `height` points drawn by `paint` (user space in points) and encoded; a PNG is
/// ⌈width × scale⌉ × ⌈height × scale⌉ pixels. `drawing` when the scale is out of range or Cairo fails.
[[nodiscard]] Result<std::string> encodeImage(double width, double height, RenderOptions options,
                                              const std::function<void(cairo_t*)>& paint);

/// One point in device pixels' worth of points for `options`: the thickness of a divider.
[[nodiscard]] double pixelLength(RenderOptions options);

/// One widget's face, drawn on its canvas.
[[nodiscard]] Result<std::string> renderWidget(const View& view, WidgetFamily family, ColorScheme scheme,
                                               const PangoMeasurer& text, RenderOptions options);

}  // namespace ostrel::render
