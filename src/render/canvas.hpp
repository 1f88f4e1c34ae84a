#pragma once
/// \file canvas.hpp
/// A widget's drawing area in points: small 170 × 170, medium 364 × 170, large 364 × 382, clipped to
/// a continuous rounded shape of radius 22, with content margins of 16 when the widget has a
/// container background.
///
///     const Canvas c = canvasFor(WidgetFamily::systemMedium);   // 364 × 170

#include "ui/environment.hpp"

namespace ostrel::render {

struct Canvas {
  double width = 170, height = 170;
  double cornerRadius = 22;
  double margin = 16;  ///< content margins when the widget has a container background
  friend constexpr bool operator==(const Canvas&, const Canvas&) = default;
};

[[nodiscard]] Canvas canvasFor(WidgetFamily family);

}  // namespace ostrel::render
