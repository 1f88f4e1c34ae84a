#include "ui/modifier.hpp"

#include <string>

#include "base/overloaded.hpp"
#include "ui/view.hpp"

namespace ostrel {

std::string_view name(const Modifier& m) {
  return std::visit(Overloaded{
                        [](const modifier::Font&) { return "font"; },
                        [](const modifier::Tracking&) { return "tracking"; },
                        [](const modifier::ForegroundStyle&) { return "foregroundStyle"; },
                        [](const modifier::Fill&) { return "fill"; },
                        [](const modifier::LineLimit&) { return "lineLimit"; },
                        [](const modifier::MinimumScaleFactor&) { return "minimumScaleFactor"; },
                        [](const modifier::MonospacedDigit&) { return "monospacedDigit"; },
                        [](const modifier::Frame&) { return "frame"; },
                        [](const modifier::FlexibleFrame&) { return "frame"; },
                        [](const modifier::Padding&) { return "padding"; },
                        [](const modifier::Background&) { return "background"; },
                        [](const modifier::ContainerBackground&) { return "containerBackground"; },
                    },
                    m);
}

void forEachArgument(const Modifier& m,
                     const std::function<void(std::string_view, const ArgumentValue&)>& f) {
  std::visit(Overloaded{
                 [&f](const modifier::Font& x) { f("font", x.font); },
                 [&f](const modifier::Tracking& x) { f("tracking", x.points); },
                 [&f](const modifier::ForegroundStyle& x) { f("style", x.style); },
                 [&f](const modifier::Fill& x) { f("color", x.color); },
                 [&f](const modifier::LineLimit& x) { f("lines", x.lines); },
                 [&f](const modifier::MinimumScaleFactor& x) { f("factor", x.factor); },
                 [](const modifier::MonospacedDigit&) {},
                 [&f](const modifier::Frame& x) {
                   f("width", x.width);
                   f("height", x.height);
                   f("alignment", x.alignment);
                 },
                 [&f](const modifier::FlexibleFrame& x) {
                   if (x.maxWidth) f("maxWidth", *x.maxWidth);
                   if (x.maxHeight) f("maxHeight", *x.maxHeight);
                   f("alignment", x.alignment);
                 },
                 [&f](const modifier::Padding& x) {
                   f("edges", x.edges);
                   if (x.length) f("length", *x.length);
                 },
                 [&f](const modifier::Background& x) { f("alignment", x.alignment); },
                 [&f](const modifier::ContainerBackground& x) {
                   f("placement", std::string("widget"));
                   f("alignment", x.alignment);
                 },
             },
             m);
}

const std::vector<View>& content(const Modifier& m) {
  static const std::vector<View> none;
  if (const auto* b = std::get_if<modifier::Background>(&m)) return b->content;
  if (const auto* c = std::get_if<modifier::ContainerBackground>(&m)) return c->content;
  return none;
}

}  // namespace ostrel
