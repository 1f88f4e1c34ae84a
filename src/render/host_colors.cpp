#include "render/host_colors.hpp"

#include <algorithm>
#include <cmath>

namespace ostrel::render {

HostColors hostColors(ColorScheme scheme) {
  if (scheme == ColorScheme::dark) {
    return HostColors{.primary = {1, 1, 1, 0.85}, .secondary = {1, 1, 1, 0.55}, .divider = {1, 1, 1, 0.15}};
  }
  return HostColors{.primary = {0, 0, 0, 0.85}, .secondary = {0, 0, 0, 0.5}, .divider = {0, 0, 0, 0.10}};
}

Rgba resolve(const Color& color, ColorScheme scheme) {
  const HostColors host = hostColors(scheme);
  auto clamp01 = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
  Rgba base;
  switch (color.kind) {
    case Color::Kind::rgb:
      base = Rgba{color.red, color.green, color.blue, 1};
      break;
    case Color::Kind::primary:
      base = host.primary;
      break;
    case Color::Kind::secondary:
      base = host.secondary;
      break;
    case Color::Kind::clear:
      return Rgba{0, 0, 0, 0};
  }
  return Rgba{clamp01(base.red), clamp01(base.green), clamp01(base.blue),
              clamp01(base.alpha * color.opacity)};
}

}  // namespace ostrel::render
