#pragma once
/// \file view.hpp
/// The view tree: what every face is built from, compared node by node in tests, dumped as text or
/// JSON, laid out and drawn by `layout/` and `render/`.
///
/// A `View` is a value: its type (view_type.hpp), an ordered list of modifiers and its children. The
/// type is a primitive (`HStack`, `Text`, `Spacer`, ...) with its arguments, or a named composite
/// (`Heading`, `When`, ...) whose arguments describe it and whose one child is its body. Modifiers wrap by value and are kept in the
/// order they were applied. The tree holds no coordinates: layout results are a separate structure.
///
///     View v = HStack(VerticalAlignment::center, 5, {
///                  Circle().fill(Color::rgb(0.85, 0.23, 0.31)).frame(5, 5),
///                  Text::verbatim("NEXT UP").font(Font::system(10, Font::Weight::semibold)),
///              });
///
/// Building a tree never fails; every function here is pure.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "time/date.hpp"
#include "ui/alignment.hpp"
#include "ui/args.hpp"
#include "ui/color.hpp"
#include "ui/edges.hpp"
#include "ui/environment.hpp"
#include "ui/font.hpp"
#include "ui/modifier.hpp"
#include "ui/style.hpp"
#include "ui/unit_point.hpp"
#include "ui/view_type.hpp"

namespace ostrel {

struct View {
  ViewType type;
  std::vector<Modifier> modifiers;
  std::vector<View> children;  ///< a composite has exactly one: its body

  friend bool operator==(const View&, const View&) = default;

  /// What a `Text` node shows; nullptr for the other types.
  [[nodiscard]] const TextContent* text() const;

  // Modifiers (modifier.hpp). Each returns the view with one more modifier at the end.
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
  /// `frame(maxWidth:maxHeight:alignment:)`; an absent maximum leaves that axis to the view.
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

 private:
  [[nodiscard]] View with(Modifier m) &&;
};

namespace modifier {
inline bool operator==(const Background& a, const Background& b) {
  return a.content == b.content && a.alignment == b.alignment;
}
inline bool operator==(const ContainerBackground& a, const ContainerBackground& b) {
  return a.content == b.content && a.alignment == b.alignment;
}
}  // namespace modifier

// Primitives.
/// The views moved into a list of children, where a braced list would copy each of them (the
/// elements of a braced list are const): `Group(moved(std::move(face)))`.
template <class... Views>
[[nodiscard]] std::vector<View> moved(Views&&... views) {
  std::vector<View> out;
  out.reserve(sizeof...(views));
  (out.push_back(std::forward<Views>(views)), ...);
  return out;
}

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
  /// A string shown exactly as it stands; never looked up, never a format. A string longer than any
  /// face can show is cut (`shownPart`).
  [[nodiscard]] static View verbatim(std::string_view s);
  /// The most bytes of a text a view holds: far more than a face can show (its drawing sets at most
  /// 16 KB of any text), so that cutting never changes a picture.
  static constexpr std::size_t longestShown = std::size_t{64} * 1024;
  /// `s`, or when it is longer than `longestShown` its first `longestShown` bytes (ending on a whole
  /// UTF-8 character) followed by "…".
  [[nodiscard]] static std::string shownPart(std::string_view s);
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
