#include "layout/text_fit.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ostrel::layout {

TextFit fitText(const TextMeasurer& measurer, const std::string& text, const TextStyle& style,
                std::optional<double> width) {
  int maxLines = 0;
  if (style.lineLimit && *style.lineLimit > 0) {
    maxLines = static_cast<int>(std::min<std::int64_t>(*style.lineLimit, 1000));
  }
  const int naturalLines = maxLines == 1 ? 1 : 0;
  const Size natural = measurer.measure(text, style, 1, std::nullopt, naturalLines);
  if (!width || !std::isfinite(*width) || natural.width <= *width) {
    return TextFit{.size = natural, .scale = 1, .width = std::nullopt, .maxLines = maxLines};
  }
  const double w = std::max(*width, 0.0);
  double scale = 1;
  const double minimum = std::clamp(style.minimumScaleFactor, 0.01, 1.0);
  if (maxLines == 1 && minimum < 1 && natural.width > 0) {
    double s = std::max(minimum, w / natural.width);
    for (int attempt = 0; attempt < 6; ++attempt) {
      const Size shrunk = measurer.measure(text, style, s, std::nullopt, 1);
      if (shrunk.width <= w) return TextFit{.size = shrunk, .scale = s, .width = std::nullopt, .maxLines = 1};
      if (s <= minimum) break;
      s = std::max(minimum, s * (w / shrunk.width) * 0.999);
    }
    scale = minimum;
  }
  Size cut = measurer.measure(text, style, scale, w, maxLines);
  cut.width = std::min(cut.width, w);
  return TextFit{.size = cut, .scale = scale, .width = w, .maxLines = maxLines};
}

}  // namespace ostrel::layout
