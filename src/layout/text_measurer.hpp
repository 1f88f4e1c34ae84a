#pragma once
/// \file text_measurer.hpp
/// How the layout engine learns the size of set text without knowing any font: `TextStyle`, what a
/// text's modifiers resolve to, and `TextMeasurer`, which the renderer implements with Pango and the
/// tests with a fixed advance per character.

#include <cstdint>
#include <optional>
#include <string>

#include "layout/geometry.hpp"
#include "ui/font.hpp"

namespace ostrel::layout {

/// What the text environment modifiers (`font`, `tracking`, `monospacedDigit`, `lineLimit`,
/// `minimumScaleFactor`) resolve to for one `Text`.
struct TextStyle {
  Font font = Font::system(13);
  double tracking = 0;
  bool monospacedDigit = false;
  std::optional<std::int64_t> lineLimit{};
  double minimumScaleFactor = 1;
  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

/// Measures set text. Implementations must be pure: the same arguments give the same size.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  /// The size of `text` set in `style` with its font (and tracking) scaled by `scale`; wrapped at
  /// `width` when one is given, on at most `maxLines` lines (0: no limit), the last line cut with a
  /// trailing "…" when the text does not fit. Without a width every paragraph is one line.
  [[nodiscard]] virtual Size measure(const std::string& text, const TextStyle& style, double scale,
                                     std::optional<double> width, int maxLines) const = 0;
};

}  // namespace ostrel::layout
