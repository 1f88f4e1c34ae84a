#pragma once
/// \file draw.hpp
/// Drawing with Cairo: a laid-out view tree in the host's colours, and a whole widget clipped to
/// its continuous rounded shape. User space is in points; the context's transformation (a scale and
/// a translation) maps it to device pixels.
///
/// The edges of dividers and filled shapes (colours, rounded rectangles, circles, the frames of
/// gradients) are moved to the nearest device-pixel boundary, so that a divider is exactly one
/// device pixel of its full colour and a colour bar has no half-covered edge, at every scale. An
/// extent thinner than a pixel keeps one pixel, the one holding its centre. Text is drawn where the
/// layout placed it.
///
///     drawWidget(cr, face, WidgetFamily::systemSmall, ColorScheme::dark, fonts, 1 / scale);

#include "layout/layout.hpp"
#include "render/text.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

using cairo_t = struct _cairo;  // NOLINT(bugprone-reserved-identifier): the library's own tag

namespace ostrel::render {

/// Draws a laid-out tree in `scheme` on `cr`.
void drawPlaced(cairo_t* cr, const layout::Placed& placed, ColorScheme scheme, const PangoMeasurer& text);

/// Lays out and draws one widget at the origin of `cr`, clipped to its rounded shape; a divider is
/// `pixelLength` points thick (one device pixel).
void drawWidget(cairo_t* cr, const View& view, WidgetFamily family, ColorScheme scheme,
                const PangoMeasurer& text, double pixelLength);

}  // namespace ostrel::render
