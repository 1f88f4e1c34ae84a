#include "components/note.hpp"

#include <limits>

#include "components/heading.hpp"
#include "components/keys.hpp"

namespace ostrel {

View Note::body(const Environment& env) const {
  const bool off = loaded.which() == Loaded::Case::off;
  const double infinity = std::numeric_limits<double>::infinity();
  return VStack(HorizontalAlignment::leading, 6,
                moved(Heading{.text = heading, .trailing = std::nullopt}.view(env), Spacer(0),
                      Text::localized(off ? keys::widgetsOff : keys::openOstrel)
                          .font(Font::system(13, Font::Weight::semibold)),
                      Text::localized(off ? keys::turnThemOn : keys::appearAfterSync)
                          .font(Font::system(11))
                          .foregroundStyle(Style::secondary())))
      .frame(infinity, infinity, Alignment::topLeading);
}

View Note::view(const Environment& env) const {
  return Composite("Note", {{{"heading", heading}, {"loaded", std::string(name(loaded.which()))}}},
                   body(env));
}

}  // namespace ostrel
