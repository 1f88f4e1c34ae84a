#include "components/ground.hpp"

#include "components/palette.hpp"

namespace ostrel {

View Ground::body(const Environment& env) const {
  const bool dark = env.colorScheme == ColorScheme::dark;
  const Color wash = Palette::crimson().withOpacity(dark ? darkWash : lightWash);
  return ZStack(Alignment::center,
                moved(ColorView(dark ? darkPlate : lightPlate),
                      RadialGradient({wash, Color::clear()}, UnitPoint::topTrailing, 0, washRadius)));
}

View Ground::view(const Environment& env) const {
  return Composite("Ground", {{{"scheme", std::string(name(env.colorScheme))}}}, body(env));
}

View ostrelBackground(View content, const Environment& env) {
  if (env.systemVersion >= SystemVersion{14, 0, 0}) {
    return AnyView(std::move(content).containerBackground(Ground{}.view(env), Alignment::center));
  }
  return std::move(content).padding().background(Ground{}.view(env), Alignment::center);
}

}  // namespace ostrel
