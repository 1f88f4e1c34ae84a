#pragma once
/// \file code.hpp
/// A unit code in the monospaced face, tinted with the unit's colour for the current appearance.
///
///     Code{.unit = "COMP2310", .color = item.color}.view(env)          // 11 points
///     Code{.unit = "COMP2310", .color = item.color, .size = 10}.view(env)

#include <optional>
#include <string_view>

#include "feed/feed.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

/// The colour scheme is read from the environment, not held.
struct Code {
  std::string_view unit = {};  ///< shown unchanged (up to `Text::longestShown`); read while the view is built
  std::optional<UnitColor> color;  ///< absent: the secondary colour
  double size = 11;                ///< font size in points

  /// One verbatim `Text` of `unit`, system `size` medium monospaced, in
  /// `Palette::unit(color, env.colorScheme)`.
  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "Code" (args: scheme, unit, light and dark when a colour is given, size)
  /// around `body`.
  [[nodiscard]] View view(const Environment& env) const;
};

}  // namespace ostrel
