#include "ui/view.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(View, EqualityReachesEveryPartOfTheTree) {
  const View base = HStack(VerticalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0)), Spacer(4)});
  const View differing[] = {
      HStack(VerticalAlignment::top, 5, {Circle().fill(Color::rgb(1, 0, 0)), Spacer(4)}),
      HStack(VerticalAlignment::center, 6, {Circle().fill(Color::rgb(1, 0, 0)), Spacer(4)}),
      HStack(VerticalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0.001)), Spacer(4)}),
      HStack(VerticalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0)), Spacer(0)}),
      HStack(VerticalAlignment::center, 5, {Spacer(4), Circle().fill(Color::rgb(1, 0, 0))}),
      HStack(VerticalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0))}),
      VStack(HorizontalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0)), Spacer(4)}),
      Composite("HStack", {{{"alignment", VerticalAlignment::center}, {"spacing", 5.0}}},
                Group({Circle().fill(Color::rgb(1, 0, 0)), Spacer(4)})),
      View(base).padding(),
      View(base).background(ColorView(Color::clear())),
      View(base).background(ColorView(Color::secondary())),
  };
  for (const View& d : differing) EXPECT_NE(base, d);
  EXPECT_EQ(base, HStack(VerticalAlignment::center, 5, {Circle().fill(Color::rgb(1, 0, 0)), Spacer(4)}));
}

TEST(View, TextsRecordWhetherTheyAreKeysAndWhatTheyShow) {
  const View verbatim = Text::verbatim("%s%n <b>");
  ASSERT_TRUE(verbatim.text());
  EXPECT_TRUE(verbatim.text()->verbatim);
  EXPECT_EQ(verbatim.text()->shown, "%s%n <b>");

  const View key = Text::localized("· %lld%%", {std::int64_t{13}});
  ASSERT_TRUE(key.text());
  EXPECT_FALSE(key.text()->verbatim);
  EXPECT_EQ(key.text()->key, "· %lld%%");
  EXPECT_EQ(key.text()->arguments, std::vector<std::string>{"13"});
  EXPECT_EQ(key.text()->shown, "· 13%");
  // The same string as a key and as a verbatim text are different nodes.
  EXPECT_NE(Text::localized("Overdue"), Text::verbatim("Overdue"));
}

TEST(View, DateTextsFormatInTheEnvironment) {
  Environment env;
  env.locale = "en_GB";
  env.timeZone = "Australia/Sydney";
  const View t = Text::date(Date{1'772'445'600.0}, Text::DateFields::weekdayTime, env);
  ASSERT_TRUE(t.text());
  EXPECT_TRUE(t.text()->verbatim);
  EXPECT_EQ(t.text()->shown, "Mon 21:00");
  EXPECT_EQ(std::get<viewtype::Text>(t.type).date,
            (viewtype::Text::FormattedDate{.date = 1'772'445'600.0, .format = "EEEjmm"}));
  EXPECT_EQ(Text::date(Date{1'772'445'600.0}, Text::DateFields::time, env).text()->shown, "21:00");
  // A formatter made for another locale and zone is not used: the environment's own are.
  env.dates = DateFormatter::make("en_US", "UTC");
  EXPECT_EQ(Text::date(Date{1'772'445'600.0}, Text::DateFields::time, env).text()->shown, "21:00");
  env.dates = DateFormatter::make("en_GB", "Australia/Sydney");
  EXPECT_EQ(env.formatter(), env.dates);
}

TEST(View, TextsLongerThanAnyFaceShowsAreCutWithAnEllipsis) {
  const std::size_t most = Text::longestShown;
  const std::string euro = "\u20AC";  // three bytes
  struct Case {
    std::string text;
    std::string shown;
  };
  const Case table[] = {
      {"Lecture", "Lecture"},
      {std::string(most, 'a'), std::string(most, 'a')},
      {std::string(most + 1, 'a'), std::string(most, 'a') + "\u2026"},
      // A character that would be split is left out whole.
      {std::string(most - 1, 'a') + euro, std::string(most - 1, 'a') + "\u2026"},
  };
  for (const auto& [text, shown] : table) {
    const View v = Text::verbatim(text);
    EXPECT_EQ(v.text()->shown, shown) << text.size();
    EXPECT_EQ(v.text()->key, shown) << text.size();
  }
}

}  // namespace
}  // namespace ostrel
