#pragma once
/// \file text_fit.hpp
/// How one text fits a width: at its natural size, shrunk down to its minimum scale factor, or
/// wrapped or cut with "…".
///
///     TextFit f = fitText(measurer, "Oral presentation", style, 120);   // f.scale, f.width, f.size

#include <optional>
#include <string>

#include "layout/geometry.hpp"
#include "layout/text_measurer.hpp"

namespace ostrel::layout {

/// How a text fits a proposal: its size, the font scale chosen (1, or down to the style's
/// minimum scale factor) and whether it is wrapped or cut at `width`.
struct TextFit {
  Size size;
  double scale = 1;
  std::optional<double> width{};  ///< the width the text is set in; absent: its natural width
  int maxLines = 0;               ///< 0: no limit
  friend bool operator==(const TextFit&, const TextFit&) = default;
};

/// Fits `text` to a width proposal: natural width when it fits (or no width is proposed); else,
/// for a one-line text, the largest font scale down to the minimum scale factor at which it fits;
/// else wrapped (no line limit) or cut with "…" at the proposed width.
[[nodiscard]] TextFit fitText(const TextMeasurer& measurer, const std::string& text, const TextStyle& style,
                              std::optional<double> width);

}  // namespace ostrel::layout
