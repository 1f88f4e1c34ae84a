#pragma once
/// \file placement.hpp
/// Where the widget windows stand: in one corner of a monitor's work area, `margin` points from its
/// two edges, stacked away from the corner in the order given with `gap` points between them (down
/// from a top corner, up from a bottom corner). Pure arithmetic in points, shared by the X11 path
/// (absolute positions) and the layer-shell path (margins to the anchored edges).
///
///     Placement p{.corner = Corner::topRight, .margin = 24, .gap = 16};
///     auto boxes = arrange(p, workArea, {{170, 170}, {364, 170}});
///     // boxes[0] = {area.x + area.width - 24 - 170, area.y + 24, 170, 170}
///     // boxes[1] = {area.x + area.width - 24 - 364, area.y + 24 + 170 + 16, 364, 170}

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/saved_places.hpp"

namespace ostrel::desktop {

enum class Corner { topLeft, topRight, bottomLeft, bottomRight };

/// "top-left", "top-right", "bottom-left", "bottom-right".
[[nodiscard]] const char* name(Corner corner);
/// The corner named `text`, if any.
[[nodiscard]] std::optional<Corner> cornerNamed(std::string_view text);

struct Placement {
  Corner corner = Corner::topRight;
  int margin = 24;  ///< points from the two edges of the corner
  int gap = 16;     ///< points between stacked widgets
  /// The monitor: its connector name ("DP-1", "HEADLESS-2") or its index ("0"); none: the primary one.
  std::optional<std::string> monitor;
  friend bool operator==(const Placement&, const Placement&) = default;
};

struct Size {
  int width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

/// Distances of one widget from the corner's two edges: from the top or bottom edge (`vertical`)
/// and from the left or right edge (`horizontal`), whichever two the corner touches.
struct Inset {
  int vertical = 0, horizontal = 0;
  friend bool operator==(const Inset&, const Inset&) = default;
};

/// The inset of each widget of `sizes`, in order, stacked away from the corner.
[[nodiscard]] std::vector<Inset> insets(const Placement& placement, const std::vector<Size>& sizes);

/// The box of each widget of `sizes` within `area`, in order.
[[nodiscard]] std::vector<Box> arrange(const Placement& placement, Box area, const std::vector<Size>& sizes);

/// The index of the monitor `choice` names among monitors whose connector names are `connectors`, in
/// order: a connector name first, else a decimal index within range; none when it names none.
[[nodiscard]] std::optional<int> monitorIndex(std::string_view choice,
                                              const std::vector<std::string>& connectors);

/// The inset from `corner` of `monitor` (a box in points on the screen) that puts a widget of `size`
/// with its top-left at `at` (in points on the screen), moved onto the monitor where it would stand
/// partly or wholly off it.
[[nodiscard]] Inset insetAt(Corner corner, Box monitor, Size size, Point at);
/// Where the top-left of a widget of `size` stands, in points on the screen, at `inset` from
/// `corner` of `monitor`.
[[nodiscard]] Point pointAt(Corner corner, Box monitor, Size size, Inset inset);

/// Whether the corner touches the top edge / the left edge.
[[nodiscard]] constexpr bool isTop(Corner c) {
  return c == Corner::topLeft || c == Corner::topRight;
}
[[nodiscard]] constexpr bool isLeft(Corner c) {
  return c == Corner::topLeft || c == Corner::bottomLeft;
}

}  // namespace ostrel::desktop
