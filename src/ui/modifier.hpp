#pragma once
/// \file modifier.hpp
/// The modifiers a view can carry: a closed set, one struct per modifier with its arguments typed.
/// The view tree keeps them in the order they were applied; the dumps print them by name with
/// their arguments; the layout engine reads them by type. A modifier that is not listed here cannot
/// be written, and one added here must be handled by every `std::visit` over `Modifier`.
///
///     View v = Text::verbatim("in 5 min").font(Font::system(20)).lineLimit(1);
///     if (const auto* f = std::get_if<modifier::Font>(&v.modifiers[0])) use(f->font);

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/args.hpp"

namespace ostrel {

struct View;

namespace modifier {

/// `font(_:)`: the font of every text below.
struct Font {
  ostrel::Font font;
  friend bool operator==(const Font&, const Font&) = default;
};
/// `tracking(_:)`: extra space between letters, in points.
struct Tracking {
  double points = 0;
  friend bool operator==(const Tracking&, const Tracking&) = default;
};
/// `foregroundStyle(_:)`: the colour of texts and unfilled shapes below.
struct ForegroundStyle {
  Style style;
  friend bool operator==(const ForegroundStyle&, const ForegroundStyle&) = default;
};
/// `fill(_:)`: the colour a shape is filled with.
struct Fill {
  Color color;
  friend bool operator==(const Fill&, const Fill&) = default;
};
/// `lineLimit(_:)`: the most lines a text below may take.
struct LineLimit {
  std::int64_t lines = 1;
  friend bool operator==(const LineLimit&, const LineLimit&) = default;
};
/// `minimumScaleFactor(_:)`: how far a one-line text below may shrink before it is cut.
struct MinimumScaleFactor {
  double factor = 1;
  friend bool operator==(const MinimumScaleFactor&, const MinimumScaleFactor&) = default;
};
/// `monospacedDigit()`: digits of one width in the texts below.
struct MonospacedDigit {
  friend bool operator==(const MonospacedDigit&, const MonospacedDigit&) = default;
};
/// `frame(width:height:)`: a box of exactly this size, the view placed in it by `alignment`.
struct Frame {
  double width = 0, height = 0;
  Alignment alignment = Alignment::center;
  friend bool operator==(const Frame&, const Frame&) = default;
};
/// `frame(maxWidth:maxHeight:alignment:)`: at most these lengths (an infinite one fills what is
/// offered; an absent one leaves the axis to the view), the view placed by `alignment`.
struct FlexibleFrame {
  std::optional<double> maxWidth, maxHeight;
  Alignment alignment = Alignment::center;
  friend bool operator==(const FlexibleFrame&, const FlexibleFrame&) = default;
};
/// `padding()` (no length: the default padding on every edge) or `padding(_:_:)`.
struct Padding {
  Edges edges = Edges::all;
  std::optional<double> length;
  friend bool operator==(const Padding&, const Padding&) = default;
};
/// `background(_:alignment:)`: a view drawn behind, proposed the modified view's size. `content`
/// holds that one view.
struct Background {
  std::vector<View> content;
  Alignment alignment = Alignment::center;
  friend bool operator==(const Background&, const Background&);
};
/// `containerBackground(for: .widget, alignment:)`: the widget's background, which the host draws
/// over the whole widget. `content` holds that one view.
struct ContainerBackground {
  std::vector<View> content;
  Alignment alignment = Alignment::center;
  friend bool operator==(const ContainerBackground&, const ContainerBackground&);
};

}  // namespace modifier

using Modifier = std::variant<modifier::Font, modifier::Tracking, modifier::ForegroundStyle, modifier::Fill,
                              modifier::LineLimit, modifier::MinimumScaleFactor, modifier::MonospacedDigit,
                              modifier::Frame, modifier::FlexibleFrame, modifier::Padding,
                              modifier::Background, modifier::ContainerBackground>;

/// The modifier's name in the framework: "font", "tracking", "foregroundStyle", "fill",
/// "lineLimit", "minimumScaleFactor", "monospacedDigit", "frame" (both frames), "padding",
/// "background", "containerBackground".
[[nodiscard]] std::string_view name(const Modifier& m);

/// Calls `f` with each argument of `m` as the dumps show it, in order: font (font); tracking
/// (tracking); foregroundStyle (style); fill (color); lineLimit (lines); minimumScaleFactor
/// (factor); monospacedDigit (none); a fixed frame (width, height, alignment); a flexible frame
/// (maxWidth and maxHeight when given, alignment); padding (edges, and length when given);
/// background (alignment); containerBackground (placement "widget", alignment).
void forEachArgument(const Modifier& m, const std::function<void(std::string_view, const ArgumentValue&)>& f);

/// The views `m` holds: a background's content; none for the others.
[[nodiscard]] const std::vector<View>& content(const Modifier& m);

}  // namespace ostrel
