#pragma once
/// \file ground.hpp
/// The widget background: a near-white or near-black plate with a faint accent wash spreading from
/// the top-right corner, and `ostrelBackground`, which sets a widget's content on it.
///
///     View face = ostrelBackground(Group({content}), env);

#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

/// The background view. Its one field, the colour scheme, is read from the environment.
struct Ground {
  /// Plate colours and wash opacities per appearance; the wash is the accent colour.
  static constexpr Color darkPlate = Color::rgb(0.07, 0.07, 0.086, 1.0);
  static constexpr Color lightPlate = Color::rgb(0.98, 0.976, 0.969, 1.0);
  static constexpr double darkWash = 0.32;
  static constexpr double lightWash = 0.12;
  /// The wash fades from the top-trailing corner to nothing at this distance, in points.
  static constexpr double washRadius = 220;

  /// A `ZStack` (centre) of the plate colour and, above it, a radial gradient from the wash colour
  /// to clear, centred at the top-trailing corner, radii 0 to 220.
  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "Ground" (args: scheme) around `body`.
  [[nodiscard]] View view(const Environment& env) const;
};

/// `content` set on the widget background. From macOS 14.0 on (`env.systemVersion`) the background is
/// the widget's container background and no padding is added, the result type-erased (`AnyView`);
/// before, the content gets the default padding and the background behind it (alignment centre).
[[nodiscard]] View ostrelBackground(View content, const Environment& env);

}  // namespace ostrel
