#pragma once
/// \file host_colors.hpp
/// The host's colours for an appearance, and colours of the view tree as they are drawn. Primary
/// text is black or white at 85 %, secondary at 50 % (light) or 55 % (dark), dividers at 10 % or 15 %.
///
///     resolve(Color::secondary(), ColorScheme::dark)   // Rgba{1, 1, 1, 0.55}

#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel::render {

/// An sRGB colour with opacity, as drawn.
struct Rgba {
  double red = 0, green = 0, blue = 0, alpha = 1;
  friend constexpr bool operator==(const Rgba&, const Rgba&) = default;
};

/// The host's colours for an appearance: text (primary, secondary) and dividers.
struct HostColors {
  Rgba primary, secondary, divider;
};

[[nodiscard]] HostColors hostColors(ColorScheme scheme);

/// `color` as drawn in `scheme`: named colours resolved, opacity applied, every component clamped
/// to 0–1 (a component that is not a number counts as 0).
[[nodiscard]] Rgba resolve(const Color& color, ColorScheme scheme);

}  // namespace ostrel::render
