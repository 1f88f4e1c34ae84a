#pragma once
// A text measurer with a fixed advance, so that expected frames are exact numbers: every code point
// is half the font size wide (plus tracking), a line is the font size tall, both times the scale.
// Wrapping breaks anywhere; a cut line keeps as many characters as fit, the last one being "…".

#include <algorithm>
#include <cmath>
#include <string>

#include "layout/layout.hpp"

namespace ostrel::layout::testing {

class FixedMeasurer final : public TextMeasurer {
 public:
  [[nodiscard]] Size measure(const std::string& text, const TextStyle& style, double scale,
                             std::optional<double> width, int maxLines) const override {
    const double advance = (style.font.size / 2 + style.tracking) * scale;
    const double line = style.font.size * scale;
    double count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
    if (!width) return Size{count * advance, line};
    const double perLine = std::max(1.0, std::floor(*width / advance + 1e-9));
    double lines = std::max(1.0, std::ceil(count / perLine));
    if (maxLines > 0) lines = std::min(lines, static_cast<double>(maxLines));
    return Size{std::min(count, perLine) * advance, lines * line};
  }
};

}  // namespace ostrel::layout::testing
