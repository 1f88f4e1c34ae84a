#pragma once
// Hand-built faces for the renderer's tests: a next-class column made of the shared components, on
// the widget background.

#include <string>

#include "components/code.hpp"
#include "components/ground.hpp"
#include "components/heading.hpp"
#include "layout/layout.hpp"

namespace ostrel::render {

/// A next-class column like the widget's, with a title and countdown of our choosing.
inline View column(const Environment& env, const std::string& title, const std::string& countdown) {
  return VStack(HorizontalAlignment::leading, 3,
                {Heading{.text = "Next up", .trailing = std::nullopt}.view(env), Spacer(2),
                 Code{.unit = "COMP2310", .color = UnitColor{"#4D7812", "#A0DF49"}, .size = 11}.view(env),
                 Text::verbatim(title).font(Font::system(15, Font::Weight::semibold)).lineLimit(1),
                 Group({Text::verbatim(countdown)})
                     .font(Font::system(20, Font::Weight::medium))
                     .monospacedDigit()
                     .lineLimit(1)
                     .minimumScaleFactor(0.7),
                 Text::verbatim("Room 4.12")
                     .font(Font::system(10))
                     .foregroundStyle(Style::secondary())
                     .lineLimit(1)})
      .frame(layout::infinity, layout::infinity, Alignment::topLeading);
}

inline View face(const Environment& env, const std::string& title = "Systems programming",
                 const std::string& countdown = "in 1 h 30 min") {
  return ostrelBackground(Group({column(env, title, countdown)}), env);
}

}  // namespace ostrel::render
