#pragma once
/// \file font.hpp
/// The system font at a point size, weight and design (`Font.system(size:weight:design:)`).
///
///     Font::system(10, Font::Weight::semibold)
///     Font::system(11, Font::Weight::medium, Font::Design::monospaced)

#include <string_view>

namespace ostrel {

struct Font {
  enum class Weight { regular, medium, semibold };
  enum class Design { standard, monospaced };
  double size = 13;
  Weight weight = Weight::regular;
  Design design = Design::standard;
  [[nodiscard]] static constexpr Font system(double size, Weight weight = Weight::regular,
                                             Design design = Design::standard) {
    return Font{size, weight, design};
  }
  friend constexpr bool operator==(const Font&, const Font&) = default;
};

/// "regular", "medium", "semibold".
[[nodiscard]] constexpr std::string_view name(Font::Weight weight) {
  switch (weight) {
    case Font::Weight::regular:
      return "regular";
    case Font::Weight::medium:
      return "medium";
    case Font::Weight::semibold:
      return "semibold";
  }
  return "regular";
}

/// "default", "monospaced".
[[nodiscard]] constexpr std::string_view name(Font::Design design) {
  return design == Font::Design::monospaced ? "monospaced" : "default";
}

}  // namespace ostrel
