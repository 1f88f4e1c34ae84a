#include "components/heading.hpp"

#include "components/palette.hpp"
#include "time/upper_case.hpp"

namespace ostrel {

View Heading::body(const Environment&) const {
  std::vector<View> row{
      Circle().fill(Palette::crimson()).frame(5, 5),
      Text::verbatim(upperCased(text))
          .font(Font::system(10, Font::Weight::semibold))
          .tracking(0.6)
          .foregroundStyle(Style::secondary()),
      Spacer(4),
  };
  if (trailing) {
    row.push_back(Text::verbatim(*trailing)
                      .font(Font::system(10, Font::Weight::medium))
                      .foregroundStyle(Style::secondary()));
  }
  return HStack(VerticalAlignment::center, 5, std::move(row));
}

View Heading::view(const Environment& env) const {
  Args args{{{"text", text}}};
  if (trailing) args.items.emplace_back("trailing", Text::shownPart(*trailing));
  return Composite("Heading", std::move(args), body(env));
}

}  // namespace ostrel
