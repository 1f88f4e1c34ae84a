#pragma once
/// \file unit_color.hpp
/// `UnitColor`: a unit's colour pair, as hexadecimal colour text for each appearance, kept as the
/// feed wrote it (the palette reads it when drawing).
///
///     UnitColor{.light = "#4D7812", .dark = "#A0DF49"}

#include <array>
#include <string>
#include <string_view>

namespace ostrel {

struct UnitColor {
  std::string light;
  std::string dark;
  friend bool operator==(const UnitColor&, const UnitColor&) = default;

  /// The document's keys, in the order of `keys`.
  enum class CodingKeys { light, dark };
  static constexpr std::array<std::string_view, 2> keys{"light", "dark"};
};

}  // namespace ostrel
