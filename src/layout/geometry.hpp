#pragma once
/// \file geometry.hpp
/// The layout engine's geometry: sizes, rectangles in points (origin top left, y down), and the
/// per-axis size proposals of the two-phase protocol.
///
///     Proposal{.width = 170, .height = std::nullopt}   // "170 wide, your ideal height"

#include <limits>
#include <optional>

namespace ostrel::layout {

inline constexpr double infinity = std::numeric_limits<double>::infinity();

struct Size {
  double width = 0, height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  double x = 0, y = 0, width = 0, height = 0;
  [[nodiscard]] constexpr double maxX() const { return x + width; }
  [[nodiscard]] constexpr double maxY() const { return y + height; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

/// A size proposal, per axis: absent (unspecified: "your ideal size"), 0, a length or `infinity`.
struct Proposal {
  std::optional<double> width, height;
  friend constexpr bool operator==(const Proposal&, const Proposal&) = default;
};

}  // namespace ostrel::layout
