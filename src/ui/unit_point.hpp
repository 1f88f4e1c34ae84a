#pragma once
/// \file unit_point.hpp
/// A point in a view's own unit square, independent of its size (a gradient's centre).

namespace ostrel {

/// A point in a view's unit square: (0, 0) top-leading, (1, 0) top-trailing.
struct UnitPoint {
  double x = 0.5, y = 0.5;
  static const UnitPoint topTrailing;
  friend constexpr bool operator==(const UnitPoint&, const UnitPoint&) = default;
};
inline constexpr UnitPoint UnitPoint::topTrailing{1, 0};

}  // namespace ostrel
