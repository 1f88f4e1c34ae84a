#pragma once
/// \file layout.hpp
/// The layout engine: turns a `View` tree into a separate tree of placed frames, following the view
/// framework's two-phase protocol (a size for a proposal, then placement). The rules it follows, and
/// where it departs from the framework, are listed at the top of layout.cpp.
///
///     FixedMeasurer text;                       // or the Pango measurer of platform/render
///     Placed root = layout(face, Rect{0, 0, 338, 138}, text);
///     for (const Placed& p : root.children) draw(p);
///
/// Text is measured through `TextMeasurer`, so the engine itself knows no font. Layout cannot fail:
/// every tree gets frames (children that cannot shrink overflow their container, as in the framework).

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/view.hpp"

namespace ostrel::layout {

inline constexpr double infinity = std::numeric_limits<double>::infinity();

struct Size {
  double width = 0, height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  double x = 0, y = 0, width = 0, height = 0;
  [[nodiscard]] constexpr double maxX() const { return x + width; }
  [[nodiscard]] constexpr double maxY() const { return y + height; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

/// A size proposal, per axis: absent (unspecified: "your ideal size"), 0, a length or `infinity`.
struct Proposal {
  std::optional<double> width, height;
  friend constexpr bool operator==(const Proposal&, const Proposal&) = default;
};

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

/// One placed node: a primitive of the view tree with its frame in the coordinates of the root.
struct Placed {
  enum class Kind { stack, zstack, text, spacer, divider, circle, roundedRectangle, color, gradient, empty };
  Kind kind = Kind::empty;
  std::string type;  ///< the primitive's name ("HStack", "Text", ...)
  Rect frame;        ///< the primitive's own frame
  Rect bounds;       ///< the frame of the whole view, its frame and padding modifiers included
  /// Colour: the fill of a shape or `Color`, the text colour, the divider's (`Color::secondary()`
  /// and `Color::primary()` stand for the host's colours; a hierarchical secondary over a custom
  /// colour is that colour at half opacity).
  Color color = Color::primary();
  bool dividerColor = false;  ///< a divider: the host's divider colour rather than `color`
  // Text.
  std::string text;
  TextStyle textStyle;
  TextFit fit;
  // Shapes and gradients.
  double cornerRadius = 0;
  std::vector<Color> colors;
  UnitPoint center;
  double startRadius = 0, endRadius = 0;

  std::vector<Placed> behind;    ///< background contents, drawn before the node, outermost first
  std::vector<Placed> children;  ///< drawn in order, later above earlier
  friend bool operator==(const Placed&, const Placed&) = default;
};

struct Options {
  double pixelLength = 0.5;    ///< one device pixel in points: the thickness of a divider
  double defaultPadding = 16;  ///< `padding()` without a length
};

/// The size `view` chooses for `proposal`.
[[nodiscard]] Size sizeThatFits(const View& view, Proposal proposal, const TextMeasurer& measurer,
                                Options options = {});

/// Lays `view` out: it is proposed the size of `bounds` and placed at its origin (not centred).
[[nodiscard]] Placed layout(const View& view, Rect bounds, const TextMeasurer& measurer,
                            Options options = {});

/// Lays out a widget the way the host does. When the tree carries a container background
/// (`containerBackground`), that background fills `canvas` and the content is laid out in `canvas`
/// inset by `margin` on every edge; otherwise the content is laid out in the whole of `canvas` (it
/// carries its own padding and background). Content smaller than its area is centred. The result is a
/// `zstack` whose children are the background (when present) and the content.
[[nodiscard]] Placed layoutWidget(const View& view, Rect canvas, double margin, const TextMeasurer& measurer,
                                  Options options = {});

/// Whether `view` carries a container background anywhere.
[[nodiscard]] bool hasContainerBackground(const View& view);

}  // namespace ostrel::layout
