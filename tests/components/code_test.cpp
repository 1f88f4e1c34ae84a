#include "components/code.hpp"

#include <gtest/gtest.h>

#include "components/palette.hpp"

namespace ostrel {
namespace {

Environment in(ColorScheme scheme) {
  Environment env;
  env.colorScheme = scheme;
  return env;
}

/// The foreground colour a `Code` body is drawn in.
Color tint(const View& body) {
  for (const Modifier& m : body.modifiers) {
    if (const auto* f = std::get_if<modifier::ForegroundStyle>(&m)) return f->style.color;
  }
  return Color::primary();
}

TEST(Code, TheUnitUnchangedInTheColourOfTheScheme) {
  const UnitColor pair{.light = "#4D7812", .dark = "#A0DF49"};
  struct Row {
    std::optional<UnitColor> color;
    ColorScheme scheme;
    Color expected;
  };
  const Row rows[] = {
      {pair, ColorScheme::light, Palette::hex("#4D7812")},
      {pair, ColorScheme::dark, Palette::hex("#A0DF49")},
      {std::nullopt, ColorScheme::light, Color::secondary()},
      {std::nullopt, ColorScheme::dark, Color::secondary()},
      {UnitColor{.light = "#4D7812", .dark = "0xA0DF49"}, ColorScheme::dark, Palette::hex("")},
      {UnitColor{.light = "#4D7812", .dark = "0xA0DF49"}, ColorScheme::light, Palette::hex("#4D7812")},
  };
  for (const Row& r : rows) {
    const View body = Code{.unit = "comp2310", .color = r.color}.body(in(r.scheme));
    ASSERT_TRUE(body.text);
    EXPECT_EQ(body.text->shown, "comp2310");
    EXPECT_TRUE(body.text->verbatim);
    EXPECT_EQ(tint(body), r.expected) << name(r.scheme);
  }
}

}  // namespace
}  // namespace ostrel
