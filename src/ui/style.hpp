#pragma once
/// \file style.hpp
/// A foreground style (`foregroundStyle(_:)`): a colour, or the hierarchical secondary style
/// (`.secondary`), which dims whatever colour is in force above it.

#include "ui/color.hpp"

namespace ostrel {

struct Style {
  enum class Kind { color, hierarchicalSecondary };
  Kind kind = Kind::color;
  Color color{};
  [[nodiscard]] static constexpr Style of(Color c) { return Style{Kind::color, c}; }
  [[nodiscard]] static constexpr Style secondary() { return Style{Kind::hierarchicalSecondary, {}}; }
  friend constexpr bool operator==(const Style&, const Style&) = default;
};

}  // namespace ostrel
