#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "components/code.hpp"
#include "components/ground.hpp"
#include "components/heading.hpp"
#include "components/note.hpp"
#include "components/palette.hpp"

namespace ostrel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
const Color crimson = Color::rgb(216 / 255.0, 59 / 255.0, 78 / 255.0);

/// Every combination of scheme and system version the views may be drawn in.
std::vector<Environment> environments() {
  std::vector<Environment> out;
  for (ColorScheme s : {ColorScheme::light, ColorScheme::dark}) {
    for (SystemVersion v : {SystemVersion{13, 0, 0}, SystemVersion{14, 0, 0}}) {
      Environment e;
      e.colorScheme = s;
      e.systemVersion = v;
      out.push_back(e);
    }
  }
  return out;
}

View headingTitle(std::string shown) {
  return Text::verbatim(std::move(shown))
      .font(Font::system(10, Font::Weight::semibold))
      .tracking(0.6)
      .foregroundStyle(Style::secondary());
}

TEST(Heading, IsTheDotTheCapitalsAndASpacer) {
  for (const Environment& env : environments()) {
    const View expected =
        Composite("Heading", {{{"text", std::string("Next up")}}},
                  HStack(VerticalAlignment::center, 5,
                         {Circle().fill(crimson).frame(5, 5), headingTitle("NEXT UP"), Spacer(4)}));
    EXPECT_EQ((Heading{.text = "Next up", .trailing = std::nullopt}).view(env), expected);
  }
}

TEST(Heading, PutsTheTrailingTextUnchangedAtTheEnd) {
  const View expected =
      Composite("Heading", {{{"text", std::string("Later")}, {"trailing", std::string("Week 10 of 13")}}},
                HStack(VerticalAlignment::center, 5,
                       {Circle().fill(crimson).frame(5, 5), headingTitle("LATER"), Spacer(4),
                        Text::verbatim("Week 10 of 13")
                            .font(Font::system(10, Font::Weight::medium))
                            .foregroundStyle(Style::secondary())}));
  for (const Environment& env : environments()) {
    EXPECT_EQ((Heading{.text = "Later", .trailing = "Week 10 of 13"}).view(env), expected);
  }
}

TEST(Heading, UpperCasesByRootRulesWhateverTheLocale) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case table[] = {
      {"Next up", "NEXT UP"},
      {"ON NOW", "ON NOW"},
      {"Week 10: 3/13!", "WEEK 10: 3/13!"},
      {"straße", "STRASSE"},
      {"istanbul", "ISTANBUL"},
      {"éclair ǆ", "ÉCLAIR Ǆ"},
      {"\xEF\xAC\x81nal", "FINAL"},
      {"", ""},
      {"%s%n <b>", "%S%N <B>"},
  };
  for (const auto& [in, out] : table) EXPECT_EQ(upperCased(in), out) << in;
  Environment turkish;
  turkish.locale = "tr_TR";
  EXPECT_EQ((Heading{.text = "info", .trailing = std::nullopt}).body(turkish).children[1],
            headingTitle("INFO"));
}

TEST(Code, TintsTheUnitForTheSchemeOfItsEnvironment) {
  const UnitColor pair{.light = "#4D7812", .dark = "#A0DF49"};
  for (const Environment& env : environments()) {
    const bool dark = env.colorScheme == ColorScheme::dark;
    const Color tint = Palette::hex(dark ? "#A0DF49" : "#4D7812");
    const View expected =
        Composite("Code",
                  {{{"scheme", std::string(dark ? "dark" : "light")},
                    {"unit", std::string("comp2310")},
                    {"light", std::string("#4D7812")},
                    {"dark", std::string("#A0DF49")},
                    {"size", 11.0}}},
                  Text::verbatim("comp2310")
                      .font(Font::system(11, Font::Weight::medium, Font::Design::monospaced))
                      .foregroundStyle(Style::of(tint)));
    EXPECT_EQ((Code{.unit = "comp2310", .color = pair}).view(env), expected);
  }
}

TEST(Code, WithoutAColourIsSecondaryAndHonoursItsSize) {
  for (const Environment& env : environments()) {
    const View body = Code{.unit = "ENGN1211", .color = std::nullopt, .size = 10}.body(env);
    EXPECT_EQ(body, Text::verbatim("ENGN1211")
                        .font(Font::system(10, Font::Weight::medium, Font::Design::monospaced))
                        .foregroundStyle(Style::of(Color::secondary())));
  }
  Environment dark;
  dark.colorScheme = ColorScheme::dark;
  const View grey = Code{.unit = "X", .color = UnitColor{.light = "#4D7812", .dark = "0xA0DF49"}}.body(dark);
  EXPECT_EQ(std::get<modifier::ForegroundStyle>(grey.modifiers.back()).style, Style::of(Palette::hex("")));
}

View noteBody(const std::string& heading, const char* title, const char* message, const Environment& env) {
  return VStack(HorizontalAlignment::leading, 6,
                {Heading{.text = heading, .trailing = std::nullopt}.view(env), Spacer(0),
                 Text::localized(title).font(Font::system(13, Font::Weight::semibold)),
                 Text::localized(message).font(Font::system(11)).foregroundStyle(Style::secondary())})
      .frame(inf, inf, Alignment::topLeading);
}

TEST(Note, ExplainsOffAndEveryOtherStateApart) {
  const Feed feed{.v = 1,
                  .enabled = true,
                  .at = Date{0},
                  .week = std::nullopt,
                  .classes = std::nullopt,
                  .due = std::nullopt,
                  .cards = std::nullopt};
  struct Case {
    Loaded loaded;
    const char* name;
    const char* title;
    const char* message;
  };
  const Case table[] = {
      {Loaded::off(), "off", "Widgets are off", "Turn them on in Ostrel, Settings, General."},
      {Loaded::missing(), "missing", "Open Ostrel", "Your classes and deadlines appear here after it syncs."},
      {Loaded::feed(feed), "feed", "Open Ostrel", "Your classes and deadlines appear here after it syncs."},
  };
  for (const Environment& env : environments()) {
    for (const Case& c : table) {
      const View expected =
          Composite("Note", {{{"heading", std::string("Due soon")}, {"loaded", std::string(c.name)}}},
                    noteBody("Due soon", c.title, c.message, env));
      const View note = Note{.heading = "Due soon", .loaded = c.loaded}.view(env);
      EXPECT_EQ(note, expected) << c.name;
      EXPECT_EQ(note.children[0].children[2].text->shown, c.title);
      EXPECT_FALSE(note.children[0].children[2].text->verbatim);
    }
  }
}

View groundOf(Color plate, double wash, const char* scheme) {
  return Composite(
      "Ground", {{{"scheme", std::string(scheme)}}},
      ZStack(Alignment::center, {ColorView(plate), RadialGradient({crimson.withOpacity(wash), Color::clear()},
                                                                  UnitPoint{1, 0}, 0, 220)}));
}

TEST(Ground, IsThePlateAndTheCornerWashOfTheScheme) {
  for (const Environment& env : environments()) {
    const bool dark = env.colorScheme == ColorScheme::dark;
    const View expected = dark ? groundOf(Color::rgb(0.07, 0.07, 0.086), 0.32, "dark")
                               : groundOf(Color::rgb(0.98, 0.976, 0.969), 0.12, "light");
    EXPECT_EQ(Ground{}.view(env), expected);
  }
}

TEST(Ground, BackgroundPathFollowsTheSystemVersion) {
  const View content = Text::verbatim("face");
  struct Case {
    SystemVersion version;
    bool container;
  };
  const Case table[] = {{{13, 0, 0}, false}, {{13, 9, 9}, false}, {{14, 0, 0}, true}, {{15, 1, 0}, true}};
  for (const Environment& base : environments()) {
    for (const Case& c : table) {
      Environment env = base;
      env.systemVersion = c.version;
      const View ground = Ground{}.view(env);
      const View expected = c.container
                                ? AnyView(View(content).containerBackground(ground, Alignment::center))
                                : View(content).padding().background(ground, Alignment::center);
      EXPECT_EQ(ostrelBackground(content, env), expected) << c.version.major << "." << c.version.minor;
    }
  }
  // The container path carries no padding of its own.
  const View modern = ostrelBackground(content, Environment{});
  ASSERT_EQ(modern.children.size(), 1u);
  EXPECT_EQ(modern.children[0].modifiers.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<modifier::ContainerBackground>(modern.children[0].modifiers[0]));
}

}  // namespace
}  // namespace ostrel
