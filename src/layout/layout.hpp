#pragma once
/// \file layout.hpp
/// The layout engine: turns a `View` tree into a separate tree of placed frames, following the view
/// framework's two-phase protocol (a size for a proposal, then placement). The rules it follows, and
/// where it departs from the framework, are listed at the top of layout.cpp.
///
///     FixedMeasurer text;                       // or the Pango measurer of render/
///     Placed root = layout(face, Rect{0, 0, 338, 138}, text);
///     for (const Placed& p : root.children) draw(p);
///
/// Text is measured through `TextMeasurer`, so the engine itself knows no font. Layout cannot fail:
/// every tree gets frames (children that cannot shrink overflow their container, as in the framework).

#include <optional>

#include "layout/geometry.hpp"
#include "layout/placed.hpp"
#include "layout/text_fit.hpp"
#include "layout/text_measurer.hpp"
#include "ui/view.hpp"

namespace ostrel::layout {

struct Options {
  double pixelLength = 0.5;    ///< one device pixel in points: the thickness of a divider
  double defaultPadding = 16;  ///< `padding()` without a length
};

/// The size `view` chooses for `proposal`.
[[nodiscard]] Size sizeThatFits(const View& view, Proposal proposal, const TextMeasurer& measurer,
                                Options options = {});

/// Lays `view` out: it is proposed the size of `bounds` and placed at its origin (not centred).
[[nodiscard]] Placed layout(const View& view, Rect bounds, const TextMeasurer& measurer,
                            Options options = {});

/// Lays out a widget the way the host does. When the tree carries a container background
/// (`containerBackground`), that background fills `canvas` and the content is laid out in `canvas`
/// inset by `margin` on every edge; otherwise the content is laid out in the whole of `canvas` (it
/// carries its own padding and background). Content smaller than its area is centred. The result is a
/// `zstack` whose children are the background (when present) and the content.
[[nodiscard]] Placed layoutWidget(const View& view, Rect canvas, double margin, const TextMeasurer& measurer,
                                  Options options = {});

/// Whether `view` carries a container background anywhere.
[[nodiscard]] bool hasContainerBackground(const View& view);

}  // namespace ostrel::layout
