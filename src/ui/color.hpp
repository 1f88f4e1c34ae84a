#pragma once
/// \file color.hpp
/// A colour of the view tree: sRGB components from 0 to 1 with an opacity, or one of the host's
/// named colours, whose value follows the appearance.
///
///     Color::rgb(216 / 255.0, 59 / 255.0, 78 / 255.0)   // the accent
///     Color::secondary()                                // the host's secondary text colour

#include <string_view>

namespace ostrel {

struct Color {
  enum class Kind { rgb, secondary, clear, primary };
  Kind kind = Kind::rgb;
  double red = 0, green = 0, blue = 0, opacity = 1;

  [[nodiscard]] static constexpr Color rgb(double r, double g, double b, double a = 1) {
    return Color{Kind::rgb, r, g, b, a};
  }
  /// The semantic secondary colour (`Color.secondary`).
  [[nodiscard]] static constexpr Color secondary() { return Color{Kind::secondary, 0, 0, 0, 1}; }
  /// Fully transparent.
  [[nodiscard]] static constexpr Color clear() { return Color{Kind::clear, 0, 0, 0, 0}; }
  /// The default foreground colour.
  [[nodiscard]] static constexpr Color primary() { return Color{Kind::primary, 0, 0, 0, 1}; }
  /// The same colour with its opacity multiplied by `factor`.
  [[nodiscard]] constexpr Color withOpacity(double factor) const {
    Color c = *this;
    c.opacity *= factor;
    return c;
  }
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

/// "secondary", "clear", "primary"; "" for an sRGB colour, which has no name.
[[nodiscard]] constexpr std::string_view name(Color::Kind kind) {
  switch (kind) {
    case Color::Kind::rgb:
      return "";
    case Color::Kind::secondary:
      return "secondary";
    case Color::Kind::clear:
      return "clear";
    case Color::Kind::primary:
      return "primary";
  }
  return "";
}

}  // namespace ostrel
