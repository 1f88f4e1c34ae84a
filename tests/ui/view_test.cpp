#include "ui/view.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(View, EqualityReachesEveryPartOfTheTree) {
  const auto dot = [] { return Circle().fill(Color::rgb(1, 0, 0)); };
  const View base = HStack(VerticalAlignment::center, 5, {dot(), Spacer(4)});
  const View differing[] = {
      HStack(VerticalAlignment::top, 5, {dot(), Spacer(4)}),
      HStack(VerticalAlignment::center, 6, {dot(), Spacer(4)}),
      HStack(VerticalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0.001)), Spacer(4)}),
      HStack(VerticalAlignment::center, 5, {dot(), Spacer(0)}),
      HStack(VerticalAlignment::center, 5, {Spacer(4), dot()}),
      HStack(VerticalAlignment::center, 5, {dot()}),
      VStack(HorizontalAlignment::center, 5, {dot(), Spacer(4)}),
      Composite("HStack", {{{"alignment", VerticalAlignment::center}, {"spacing", 5.0}}},
                Group({dot(), Spacer(4)})),
      View(base).padding(),
      View(base).background(ColorView(Color::clear())),
      View(base).background(ColorView(Color::secondary())),
      View(base).containerBackground(ColorView(Color::clear())),
      View(base).padding().font(Font::system(10)),
  };
  for (const View& d : differing) EXPECT_NE(base, d) << name(d.type);
  EXPECT_EQ(base, HStack(VerticalAlignment::center, 5, {dot(), Spacer(4)}));
  EXPECT_NE(View(base).font(Font::system(10)).padding(), View(base).padding().font(Font::system(10)));
}

TEST(View, TextsRecordWhetherTheyAreKeysAndWhatTheyShow) {
  EXPECT_EQ(*Text::verbatim("%s%n <b>").text(),
            (TextContent{.verbatim = true, .key = "%s%n <b>", .arguments = {}, .shown = "%s%n <b>"}));
  EXPECT_EQ(*Text::localized("· %lld%%", {std::int64_t{13}}).text(),
            (TextContent{.verbatim = false, .key = "· %lld%%", .arguments = {"13"}, .shown = "· 13%"}));
  EXPECT_NE(Text::localized("Overdue"), Text::verbatim("Overdue"));
  EXPECT_EQ(Circle().text(), nullptr);

  Environment env;
  env.locale = "en_GB";
  env.timeZone = TimeZone::named("Australia/Sydney");
  const View t = Text::date(Date{1'772'445'600.0}, Text::DateFields::weekdayTime, env);
  EXPECT_EQ(t.text()->shown, "Mon 21:00");
  EXPECT_EQ(std::get<viewtype::Text>(t.type).date,
            (viewtype::Text::FormattedDate{.date = 1'772'445'600.0, .format = "EEEjmm"}));
  // A formatter made for another locale and zone is not used: the environment's own are.
  env.dates = DateFormatter::make("en_US", TimeZone::utc());
  EXPECT_EQ(Text::date(Date{1'772'445'600.0}, Text::DateFields::time, env).text()->shown, "21:00");
  env.dates = DateFormatter::make("en_GB", TimeZone::named("Australia/Sydney"));
  EXPECT_EQ(env.formatter(), env.dates);  // and one made for them is used as it is
}

TEST(View, TextsLongerThanAnyFaceShowsAreCutWithAnEllipsis) {
  const std::size_t most = Text::longestShown;
  const std::string a(most - 1, 'a');
  const std::pair<std::string, std::string> table[] = {
      {a + "a", a + "a"},
      {a + "aa", a + "a\u2026"},
      {a + "\u20AC", a + "\u2026"},  // a character that would be split is left out whole
  };
  for (const auto& [text, shown] : table) {
    EXPECT_EQ(Text::verbatim(text).text()->shown, shown) << text.size();
    EXPECT_EQ(Text::verbatim(text).text()->key, shown) << text.size();
  }
}

}  // namespace
}  // namespace ostrel
