#pragma once
/// \file placed.hpp
/// `Placed`: what the layout engine hands the renderer, a tree of primitives with their frames, apart
/// from the view tree (which holds no coordinates).

#include <string>
#include <vector>

#include "layout/geometry.hpp"
#include "layout/text_fit.hpp"
#include "layout/text_measurer.hpp"
#include "ui/color.hpp"
#include "ui/unit_point.hpp"

namespace ostrel::layout {

/// One placed node: a primitive of the view tree with its frame in the coordinates of the root.
struct Placed {
  enum class Kind { stack, zstack, text, spacer, divider, circle, roundedRectangle, color, gradient, empty };
  Kind kind = Kind::empty;
  std::string type;  ///< the primitive's name ("HStack", "Text", ...)
  Rect frame;        ///< the primitive's own frame
  Rect bounds;       ///< the frame of the whole view, its frame and padding modifiers included
  /// Colour: the fill of a shape or `Color`, the text colour, the divider's (`Color::secondary()`
  /// and `Color::primary()` stand for the host's colours; a hierarchical secondary over a custom
  /// colour is that colour at half opacity).
  Color color = Color::primary();
  bool dividerColor = false;  ///< a divider: the host's divider colour rather than `color`
  // Text.
  std::string text;
  TextStyle textStyle;
  TextFit fit;
  // Shapes and gradients.
  double cornerRadius = 0;
  std::vector<Color> colors;
  UnitPoint center;
  double startRadius = 0, endRadius = 0;

  std::vector<Placed> behind;    ///< background contents, drawn before the node, outermost first
  std::vector<Placed> children;  ///< drawn in order, later above earlier
  friend bool operator==(const Placed&, const Placed&) = default;
};

}  // namespace ostrel::layout
