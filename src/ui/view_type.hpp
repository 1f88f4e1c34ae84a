#pragma once
/// \file view_type.hpp
/// What a view node is: a closed set, one struct per primitive with its arguments typed, and the named
/// composite. As with the modifiers, a type that is not listed here cannot be written, and one added
/// here must be handled by every `std::visit` over `ViewType` (the layout engine, the dumps), so no
/// node can fall through to a default.
///
///     View v = Spacer(4);
///     if (const auto* s = std::get_if<viewtype::Spacer>(&v.type)) use(s->minLength);
///     name(v.type)   // "Spacer"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/alignment.hpp"
#include "ui/args.hpp"
#include "ui/color.hpp"
#include "ui/unit_point.hpp"

namespace ostrel {

/// What a `Text` shows: a verbatim string, or a localisation key with its arguments, and the text as
/// shown after the string table and formatting.
struct TextContent {
  bool verbatim = true;
  std::string key;                     ///< the verbatim string, or the localisation key
  std::vector<std::string> arguments;  ///< formatted arguments of a key ("%@", "%lld")
  std::string shown;                   ///< the text as displayed
  friend bool operator==(const TextContent&, const TextContent&) = default;
};

namespace viewtype {

/// A transparent container; conditional content is the one branch placed in it. A node built without
/// a type is an empty group.
struct Group {
  friend bool operator==(const Group&, const Group&) = default;
};
/// `HStack(alignment:spacing:)`.
struct HStack {
  VerticalAlignment alignment = VerticalAlignment::center;
  double spacing = 0;
  friend bool operator==(const HStack&, const HStack&) = default;
};
/// `VStack(alignment:spacing:)`.
struct VStack {
  HorizontalAlignment alignment = HorizontalAlignment::center;
  double spacing = 0;
  friend bool operator==(const VStack&, const VStack&) = default;
};
/// `ZStack(alignment:)`: later children above earlier ones.
struct ZStack {
  Alignment alignment = Alignment::center;
  friend bool operator==(const ZStack&, const ZStack&) = default;
};
/// One row per element, identified by position.
struct ForEach {
  friend bool operator==(const ForEach&, const ForEach&) = default;
};
/// `AnyView`: type erasure around its one child.
struct AnyView {
  friend bool operator==(const AnyView&, const AnyView&) = default;
};
/// `Spacer(minLength:)`.
struct Spacer {
  double minLength = 0;
  friend bool operator==(const Spacer&, const Spacer&) = default;
};
/// `Divider()`.
struct Divider {
  friend bool operator==(const Divider&, const Divider&) = default;
};
/// `Circle()`.
struct Circle {
  friend bool operator==(const Circle&, const Circle&) = default;
};
/// `RoundedRectangle(cornerRadius:style: .continuous)`.
struct RoundedRectangle {
  double cornerRadius = 0;
  friend bool operator==(const RoundedRectangle&, const RoundedRectangle&) = default;
};
/// A colour as a view: fills what it is offered.
struct Color {
  ostrel::Color color;
  friend bool operator==(const Color&, const Color&) = default;
};
/// `RadialGradient(gradient:center:startRadius:endRadius:)`.
struct RadialGradient {
  std::vector<ostrel::Color> colors;
  UnitPoint center;
  double startRadius = 0, endRadius = 0;
  friend bool operator==(const RadialGradient&, const RadialGradient&) = default;
};
/// A text. A date text (`Text::date`) also records the instant it shows (seconds since 1970) and the
/// skeleton it is formatted with.
struct Text {
  struct FormattedDate {
    double date = 0;
    std::string format;
    friend bool operator==(const FormattedDate&, const FormattedDate&) = default;
  };
  TextContent content;
  std::optional<FormattedDate> date;
  friend bool operator==(const Text&, const Text&) = default;
};
/// A named composite (`Heading`, `When`, ...): its arguments describe it; its one child is its body.
struct Composite {
  std::string name;
  Args args;
  friend bool operator==(const Composite&, const Composite&) = default;
};

}  // namespace viewtype

using ViewType = std::variant<viewtype::Group, viewtype::HStack, viewtype::VStack, viewtype::ZStack,
                              viewtype::ForEach, viewtype::AnyView, viewtype::Spacer, viewtype::Divider,
                              viewtype::Circle, viewtype::RoundedRectangle, viewtype::Color,
                              viewtype::RadialGradient, viewtype::Text, viewtype::Composite>;

/// The type's name in the framework ("HStack", "Text", "Color", ...), or a composite's own name.
[[nodiscard]] std::string_view name(const ViewType& t);

/// Calls `f` with each argument of `t` as the dumps show it, in order: HStack and VStack (alignment,
/// spacing); ZStack (alignment); ForEach (id "position"); Spacer (minLength); RoundedRectangle
/// (cornerRadius, style "continuous"); Color (color); RadialGradient (colors, center, startRadius,
/// endRadius); a date text (date, format); a composite its own arguments; none for the others.
void forEachArgument(const ViewType& t, const std::function<void(std::string_view, const ArgumentValue&)>& f);

}  // namespace ostrel
