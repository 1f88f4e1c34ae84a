#include "components/code.hpp"

#include "components/palette.hpp"

namespace ostrel {

View Code::body(const Environment& env) const {
  return Text::verbatim(unit)
      .font(Font::system(size, Font::Weight::medium, Font::Design::monospaced))
      .foregroundStyle(Palette::unit(color, env.colorScheme));
}

View Code::view(const Environment& env) const {
  Args args{{{"scheme", std::string(name(env.colorScheme))}, {"unit", Text::shownPart(unit)}}};
  if (color) {
    args.items.emplace_back("light", color->light);
    args.items.emplace_back("dark", color->dark);
  }
  args.items.emplace_back("size", size);
  return Composite("Code", std::move(args), body(env));
}

}  // namespace ostrel
