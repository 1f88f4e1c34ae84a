#pragma once
/// \file view.hpp
/// The view tree: what every face is built from, compared node by node in tests, dumped as text or
/// JSON, laid out and drawn by `platform/layout` and `platform/render`.
///
/// A `View` is a value. It is either a primitive (`HStack`, `Text`, `Spacer`, ...) with its arguments,
/// an ordered list of modifiers and its children, or a named composite (`Heading`, `When`, ...) whose
/// arguments describe it and whose one child is its body. Modifiers wrap by value and are kept in the
/// order they were applied. The tree holds no coordinates: layout results are a separate structure.
///
///     View v = HStack(VerticalAlignment::center, 5, {
///                  Circle().fill(Color::rgb(0.85, 0.23, 0.31)).frame(5, 5),
///                  Text::verbatim("NEXT UP").font(Font::system(10, Font::Weight::semibold)),
///              });
///
/// Building a tree never fails; every function here is pure.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/date.hpp"
#include "platform/ui/environment.hpp"

namespace ostrel {

/// An sRGB colour, or one of the host's named colours whose value follows the appearance.
struct Color {
  enum class Kind { rgb, secondary, clear, primary };
  Kind kind = Kind::rgb;
  double red = 0, green = 0, blue = 0, opacity = 1;

  [[nodiscard]] static constexpr Color rgb(double r, double g, double b, double a = 1) {
    return Color{Kind::rgb, r, g, b, a};
  }
  /// The semantic secondary colour (`Color.secondary`).
  [[nodiscard]] static constexpr Color secondary() { return Color{Kind::secondary, 0, 0, 0, 1}; }
  /// Fully transparent.
  [[nodiscard]] static constexpr Color clear() { return Color{Kind::clear, 0, 0, 0, 0}; }
  /// The default foreground colour.
  [[nodiscard]] static constexpr Color primary() { return Color{Kind::primary, 0, 0, 0, 1}; }
  /// The same colour with its opacity multiplied by `factor`.
  [[nodiscard]] constexpr Color withOpacity(double factor) const {
    Color c = *this;
    c.opacity *= factor;
    return c;
  }
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

/// `Font.system(size:weight:design:)`.
struct Font {
  enum class Weight { regular, medium, semibold };
  enum class Design { standard, monospaced };
  double size = 13;
  Weight weight = Weight::regular;
  Design design = Design::standard;
  [[nodiscard]] static constexpr Font system(double size, Weight weight = Weight::regular,
                                             Design design = Design::standard) {
    return Font{size, weight, design};
  }
  friend constexpr bool operator==(const Font&, const Font&) = default;
};

/// A foreground style: a colour, or the hierarchical secondary style (`.secondary`).
struct Style {
  enum class Kind { color, hierarchicalSecondary };
  Kind kind = Kind::color;
  Color color{};
  [[nodiscard]] static constexpr Style of(Color c) { return Style{Kind::color, c}; }
  [[nodiscard]] static constexpr Style secondary() { return Style{Kind::hierarchicalSecondary, {}}; }
  friend constexpr bool operator==(const Style&, const Style&) = default;
};

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom };
/// Two-axis alignments (`.topLeading`, `.center`, ...).
struct Alignment {
  HorizontalAlignment horizontal = HorizontalAlignment::center;
  VerticalAlignment vertical = VerticalAlignment::center;
  static const Alignment center, topLeading, top, leading, topTrailing, trailing, bottomLeading, bottom,
      bottomTrailing;
  friend constexpr bool operator==(const Alignment&, const Alignment&) = default;
};
inline constexpr Alignment Alignment::center{HorizontalAlignment::center, VerticalAlignment::center};
inline constexpr Alignment Alignment::topLeading{HorizontalAlignment::leading, VerticalAlignment::top};
inline constexpr Alignment Alignment::top{HorizontalAlignment::center, VerticalAlignment::top};
inline constexpr Alignment Alignment::leading{HorizontalAlignment::leading, VerticalAlignment::center};
inline constexpr Alignment Alignment::topTrailing{HorizontalAlignment::trailing, VerticalAlignment::top};
inline constexpr Alignment Alignment::trailing{HorizontalAlignment::trailing, VerticalAlignment::center};
inline constexpr Alignment Alignment::bottomLeading{HorizontalAlignment::leading, VerticalAlignment::bottom};
inline constexpr Alignment Alignment::bottom{HorizontalAlignment::center, VerticalAlignment::bottom};
inline constexpr Alignment Alignment::bottomTrailing{HorizontalAlignment::trailing,
                                                     VerticalAlignment::bottom};

/// A point in a view's unit square: (0, 0) top-leading, (1, 0) top-trailing.
struct UnitPoint {
  double x = 0.5, y = 0.5;
  static const UnitPoint topTrailing;
  friend constexpr bool operator==(const UnitPoint&, const UnitPoint&) = default;
};
inline constexpr UnitPoint UnitPoint::topTrailing{1, 0};

/// Edge sets for `padding(edges, length)`.
enum class Edges { all, vertical, horizontal, top, bottom, leading, trailing };

/// An argument value of a node or modifier.
using Value = std::variant<bool, std::int64_t, double, std::string, Color, Font, Style, HorizontalAlignment,
                           VerticalAlignment, Alignment, UnitPoint, Edges, std::vector<Color>>;

/// Named arguments in the order given.
struct Args {
  std::vector<std::pair<std::string, Value>> items;

  /// The value named `name`, or nullptr.
  [[nodiscard]] const Value* find(std::string_view name) const;
  /// The value named `name` if it holds a `T`.
  template <class T>
  [[nodiscard]] std::optional<T> get(std::string_view name) const {
    if (const Value* v = find(name)) {
      if (const T* t = std::get_if<T>(v)) return *t;
    }
    return std::nullopt;
  }
  friend bool operator==(const Args&, const Args&) = default;
};

struct View;

/// One modifier: a name (`font`, `frame`, `padding`, `background`, ...), its arguments, and for the
/// modifiers that take views (`background`, `containerBackground`) those views.
struct Modifier {
  std::string name;
  Args args;
  std::vector<View> content;
  friend bool operator==(const Modifier&, const Modifier&);
};

/// What a `Text` shows: a verbatim string, or a localisation key with its arguments, and the text as
/// shown after the string table and formatting.
struct TextContent {
  bool verbatim = true;
  std::string key;                     ///< the verbatim string, or the localisation key
  std::vector<std::string> arguments;  ///< formatted arguments of a key ("%@", "%lld")
  std::string shown;                   ///< the text as displayed
  friend bool operator==(const TextContent&, const TextContent&) = default;
};

struct View {
  std::string type;  ///< "HStack", "Text", ..., or a composite's name ("Heading")
  bool composite = false;
  Args args;
  std::vector<Modifier> modifiers;
  std::vector<View> children;       ///< a composite has exactly one: its body
  std::optional<TextContent> text;  ///< set on `Text` nodes only

  friend bool operator==(const View&, const View&) = default;

  // Modifiers. Each returns the view with one more modifier at the end.
  [[nodiscard]] View modifier(std::string modName, Args modArgs = {}, std::vector<View> content = {}) const&;
  [[nodiscard]] View modifier(std::string modName, Args modArgs = {}, std::vector<View> content = {}) &&;

  [[nodiscard]] View font(Font f) &&;
  [[nodiscard]] View tracking(double points) &&;
  [[nodiscard]] View foregroundStyle(Style s) &&;
  [[nodiscard]] View foregroundStyle(Color c) && { return std::move(*this).foregroundStyle(Style::of(c)); }
  [[nodiscard]] View fill(Color c) &&;
  [[nodiscard]] View lineLimit(std::int64_t lines) &&;
  [[nodiscard]] View minimumScaleFactor(double factor) &&;
  [[nodiscard]] View monospacedDigit() &&;
  /// `frame(width:height:)`, centred.
  [[nodiscard]] View frame(double width, double height) &&;
  /// `frame(maxWidth:maxHeight:alignment:)`; an absent maximum is left unconstrained.
  [[nodiscard]] View frame(std::optional<double> maxWidth, std::optional<double> maxHeight,
                           Alignment alignment) &&;
  /// `padding()`: the default padding on all edges.
  [[nodiscard]] View padding() &&;
  /// `padding(edges, length)`.
  [[nodiscard]] View padding(Edges edges, double length) &&;
  /// `background(view, alignment:)`.
  [[nodiscard]] View background(View behind, Alignment alignment = Alignment::center) &&;
  /// `containerBackground(for: .widget, alignment:) { content }`.
  [[nodiscard]] View containerBackground(View content, Alignment alignment = Alignment::center) &&;
};

inline bool operator==(const Modifier& a, const Modifier& b) {
  return a.name == b.name && a.args == b.args && a.content == b.content;
}

// Primitives.
[[nodiscard]] View HStack(VerticalAlignment alignment, double spacing, std::vector<View> children);
[[nodiscard]] View VStack(HorizontalAlignment alignment, double spacing, std::vector<View> children);
[[nodiscard]] View ZStack(Alignment alignment, std::vector<View> children);
/// A transparent container; conditional content is the one branch placed in it.
[[nodiscard]] View Group(std::vector<View> children);
/// One row per element, identified by position.
[[nodiscard]] View ForEach(std::vector<View> rows);
[[nodiscard]] View Spacer(double minLength);
[[nodiscard]] View Divider();
[[nodiscard]] View Circle();
/// `RoundedRectangle(cornerRadius:style: .continuous)`.
[[nodiscard]] View RoundedRectangle(double cornerRadius);
/// A colour as a view: fills what it is offered.
[[nodiscard]] View ColorView(Color c);
[[nodiscard]] View RadialGradient(std::vector<Color> colors, UnitPoint center, double startRadius,
                                  double endRadius);
/// Type erasure: one child.
[[nodiscard]] View AnyView(View content);
/// A named composite with its describing arguments and its body.
[[nodiscard]] View Composite(std::string name, Args args, View body);

/// Text nodes.
struct Text {
  /// A string shown exactly as it stands; never looked up, never a format.
  [[nodiscard]] static View verbatim(std::string s);
  using Argument = std::variant<std::string, std::int64_t>;
  /// A localisation key, looked up in the string table (the key itself when untranslated); the text
  /// shown is the translated format with `arguments` put in its "%@" and "%lld" placeholders.
  [[nodiscard]] static View localized(std::string key, const std::vector<Argument>& arguments = {});

  /// Which fields a date text shows (`Date.FormatStyle`).
  enum class DateFields {
    weekdayTime,  ///< abbreviated weekday, hour with the locale's AM/PM convention, minute
    time,         ///< hour with the locale's AM/PM convention, minute
  };
  /// `Text(date, format:)`: `date` formatted in the environment's locale and time zone. Not a key:
  /// the node records the instant (`date`, seconds since 1970) and the skeleton (`format`) as its
  /// arguments and the formatted text as shown.
  [[nodiscard]] static View date(Date date, DateFields fields, const Environment& env);
};

}  // namespace ostrel
