#include "ui/view_type.hpp"

#include "base/overloaded.hpp"

namespace ostrel {

std::string_view name(const ViewType& t) {
  return std::visit(
      Overloaded{
          [](const viewtype::Group&) -> std::string_view { return "Group"; },
          [](const viewtype::HStack&) -> std::string_view { return "HStack"; },
          [](const viewtype::VStack&) -> std::string_view { return "VStack"; },
          [](const viewtype::ZStack&) -> std::string_view { return "ZStack"; },
          [](const viewtype::ForEach&) -> std::string_view { return "ForEach"; },
          [](const viewtype::AnyView&) -> std::string_view { return "AnyView"; },
          [](const viewtype::Spacer&) -> std::string_view { return "Spacer"; },
          [](const viewtype::Divider&) -> std::string_view { return "Divider"; },
          [](const viewtype::Circle&) -> std::string_view { return "Circle"; },
          [](const viewtype::RoundedRectangle&) -> std::string_view { return "RoundedRectangle"; },
          [](const viewtype::Color&) -> std::string_view { return "Color"; },
          [](const viewtype::RadialGradient&) -> std::string_view { return "RadialGradient"; },
          [](const viewtype::Text&) -> std::string_view { return "Text"; },
          [](const viewtype::Composite& c) -> std::string_view { return c.name; },
      },
      t);
}

void forEachArgument(const ViewType& t,
                     const std::function<void(std::string_view, const ArgumentValue&)>& f) {
  std::visit(Overloaded{
                 [](const viewtype::Group&) {},
                 [&f](const viewtype::HStack& x) {
                   f("alignment", x.alignment);
                   f("spacing", x.spacing);
                 },
                 [&f](const viewtype::VStack& x) {
                   f("alignment", x.alignment);
                   f("spacing", x.spacing);
                 },
                 [&f](const viewtype::ZStack& x) { f("alignment", x.alignment); },
                 [&f](const viewtype::ForEach&) { f("id", std::string("position")); },
                 [](const viewtype::AnyView&) {},
                 [&f](const viewtype::Spacer& x) { f("minLength", x.minLength); },
                 [](const viewtype::Divider&) {},
                 [](const viewtype::Circle&) {},
                 [&f](const viewtype::RoundedRectangle& x) {
                   f("cornerRadius", x.cornerRadius);
                   f("style", std::string("continuous"));
                 },
                 [&f](const viewtype::Color& x) { f("color", x.color); },
                 [&f](const viewtype::RadialGradient& x) {
                   f("colors", x.colors);
                   f("center", x.center);
                   f("startRadius", x.startRadius);
                   f("endRadius", x.endRadius);
                 },
                 [&f](const viewtype::Text& x) {
                   if (!x.date) return;
                   f("date", x.date->date);
                   f("format", x.date->format);
                 },
                 [&f](const viewtype::Composite& x) {
                   for (const auto& [key, value] : x.args.items) f(key, value);
                 },
             },
             t);
}

}  // namespace ostrel
