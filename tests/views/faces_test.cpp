#include "faces.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "components/palette.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

Environment envFor(WidgetFamily family, ColorScheme scheme = ColorScheme::light) {
  return Environment{.widgetFamily = family,
                     .colorScheme = scheme,
                     .systemVersion = {},
                     .locale = "en_US",
                     .timeZone = "UTC"};
}

View nextUp(const Entry& e, WidgetFamily family) {
  return NextUpView{.entry = e, .family = family}.view(envFor(family));
}
View dueSoon(const Entry& e, WidgetFamily family, ColorScheme scheme = ColorScheme::light) {
  return DueView{.entry = e, .family = family}.view(envFor(family, scheme));
}

TEST(NextUpView, OnNowExactlyAtTheStartAndNextUpOneSecondBefore) {
  const Loaded l = feedOf(std::vector{lesson("FINC3600", "Lecture", "Room 1", kNow, 1)}, std::nullopt);
  const View at = nextUp(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(at, "ON NOW"));
  EXPECT_TRUE(shows(at, "ends 11:00\u202fAM"));
  const View before = nextUp(Entry{.date = kNow - 1, .loaded = l}, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(before, "NEXT UP"));
  EXPECT_TRUE(shows(before, "in 1 min"));
  EXPECT_FALSE(shows(before, "ON NOW"));
}

TEST(NextUpView, TheEndsLineIsALocalisedKeyWithTheTimeAsItsArgument) {
  const Loaded l =
      feedOf(std::vector{lesson("FINC3600", "Lecture", std::nullopt, kNow - kMin, 1)}, std::nullopt);
  const View v = nextUp(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemSmall);
  bool found = false;
  visit(v, [&](const View& n) {
    if (n.text && n.text->key == "ends %@") {
      found = true;
      EXPECT_FALSE(n.text->verbatim);
      EXPECT_EQ(n.text->arguments, std::vector<std::string>{"10:59\u202fAM"});
    }
  });
  EXPECT_TRUE(found);
}

TEST(NextUpView, SmallNeverShowsLaterClassesAndMediumShowsThemOnlyWhenThereAreSome) {
  const Loaded with =
      feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1),
                         lesson("AMED3003", "Tutorial", std::nullopt, kNow + 5 * kHour, 1, kAmed)},
             std::nullopt);
  const Entry e{.date = kNow, .loaded = with};
  EXPECT_FALSE(shows(nextUp(e, WidgetFamily::systemSmall), "LATER"));
  EXPECT_FALSE(shows(nextUp(e, WidgetFamily::systemSmall), "Tutorial"));
  EXPECT_TRUE(shows(nextUp(e, WidgetFamily::systemMedium), "LATER"));
  EXPECT_EQ(nodes(nextUp(e, WidgetFamily::systemMedium), "Divider").size(), 1u);

  const Loaded alone = feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1)}, std::nullopt);
  const View medium = nextUp(Entry{.date = kNow, .loaded = alone}, WidgetFamily::systemMedium);
  EXPECT_FALSE(shows(medium, "LATER"));
  EXPECT_TRUE(nodes(medium, "Divider").empty());
}

TEST(NextUpView, TheWeekLabelShowsUnderNoClassAndInTheLaterHeadingOnly) {
  const View none = nextUp(Entry{.date = kNow, .loaded = feedOf(std::vector<ClassItem>{}, std::nullopt)},
                           WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(none, "No class this week"));
  EXPECT_TRUE(shows(none, "Week 10 of 13"));
  const View small = nextUp(
      Entry{.date = kNow,
            .loaded = feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1)}, std::nullopt)},
      WidgetFamily::systemSmall);
  EXPECT_FALSE(shows(small, "Week 10 of 13"));
}

TEST(NextUpView, IdenticalLaterClassesAreTwoRows) {
  const ClassItem twin = lesson("AMED3003", "Tutorial", std::nullopt, kNow + 5 * kHour, 1, kAmed);
  const Loaded l =
      feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1), twin, twin}, std::nullopt);
  const auto lists = nodes(nextUp(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemMedium), "ForEach");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].children.size(), 2u);
  EXPECT_EQ(lists[0].children[0], lists[0].children[1]);
}

/// The foreground style given to the first countdown of a due row.
std::optional<Style> countdownStyle(const View& v) {
  const auto whens = nodes(v, "When");
  if (whens.empty()) return std::nullopt;
  for (const Modifier& m : whens[0].modifiers) {
    if (const auto* f = std::get_if<modifier::ForegroundStyle>(&m)) return f->style;
  }
  return std::nullopt;
}

TEST(DueView, CountdownsTurnToTheAccentInsideFortyEightHours) {
  struct Row {
    double ahead;
    bool accent;
    const char* shown;
  };
  for (const Row& r : {Row{172'800, false, nullptr}, Row{172'799, true, nullptr}, Row{0, true, "now"},
                       Row{30 * kMin, true, "in 30 min"}}) {
    const Loaded l = feedOf(std::nullopt, std::vector{deadline("AMED3003", "Essay", kNow + r.ahead, 20.0)});
    const View v = dueSoon(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemMedium);
    const auto style = countdownStyle(v);
    ASSERT_TRUE(style) << r.ahead;
    EXPECT_EQ(*style, Style::of(r.accent ? Palette::crimson() : Color::secondary())) << r.ahead;
    EXPECT_FALSE(shows(v, "Overdue"));
    if (r.shown) {
      EXPECT_TRUE(shows(v, r.shown));
    }
  }
  const Loaded late = feedOf(std::nullopt, std::vector{deadline("AMED3003", "Essay", kNow - 1, 20.0)});
  const View v = dueSoon(Entry{.date = kNow, .loaded = late}, WidgetFamily::systemMedium);
  EXPECT_TRUE(shows(v, "Overdue"));
  EXPECT_TRUE(nodes(v, "When").empty());
}

TEST(DueView, CardCountInTheHeading) {
  struct Row {
    std::optional<std::int64_t> cards;
    std::optional<std::string> text;
  };
  for (const Row& r : {Row{std::nullopt, std::nullopt}, Row{0, std::nullopt}, Row{-4, std::nullopt},
                       Row{1, "1 card due"}, Row{2, "2 cards due"}, Row{1200, "1200 cards due"}}) {
    EXPECT_EQ(DueView::cardText(r.cards.value_or(0)), r.text);
    const auto headings =
        nodes(dueSoon(Entry{.date = kNow, .loaded = feedOf(std::nullopt, std::nullopt, r.cards)},
                      WidgetFamily::systemMedium),
              "Heading");
    ASSERT_FALSE(headings.empty());
    EXPECT_EQ(headings[0].args.get<std::string>("trailing"), r.text);
  }
}

TEST(DueView, WeightsRoundHalfAwayFromZeroAndUnshowableOnesAreLeftOut) {
  struct Row {
    double weight;
    std::optional<std::int64_t> percent;
  };
  const double inf = std::numeric_limits<double>::infinity();
  for (const Row& r : {Row{20.0, 20}, Row{12.5, 13}, Row{12.4, 12}, Row{0.4, 0}, Row{-2.5, -3},
                       Row{1e300, std::nullopt}, Row{-1e300, std::nullopt}, Row{9.3e18, std::nullopt},
                       Row{inf, std::nullopt}, Row{std::numeric_limits<double>::quiet_NaN(), std::nullopt},
                       Row{-9.2e18, -9'200'000'000'000'000'000}}) {
    EXPECT_EQ(DueView::wholePercent(r.weight), r.percent) << r.weight;
    const Loaded l = feedOf(std::nullopt, std::vector{deadline("AMED3003", "Essay", kNow + kHour, r.weight)});
    const View v = dueSoon(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemMedium);
    const auto all = texts(v);
    const auto weightTexts =
        std::count_if(all.begin(), all.end(), [](const std::string& t) { return t.starts_with("\u00B7"); });
    EXPECT_EQ(weightTexts, r.percent ? 1 : 0) << r.weight;
    if (r.percent) {
      EXPECT_TRUE(shows(v, "\u00B7 " + std::to_string(*r.percent) + "%"));
    }
  }
}

TEST(DueView, RowCountsByFamilyAndClassesOnlyInLarge) {
  std::vector<DueItem> six;
  for (int i = 0; i < 6; ++i)
    six.push_back(deadline("AMED3003", "Item " + std::to_string(i), kNow + (i + 1) * kHour, 10.0));
  const Loaded l = feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1),
                                      lesson("FINC3600", "Tutorial", "R", kNow + 3 * kHour, 1),
                                      lesson("FINC3600", "Lab", "R", kNow + 5 * kHour, 1),
                                      lesson("FINC3600", "Seminar", "R", kNow + 7 * kHour, 1)},
                          six);
  const Entry e{.date = kNow, .loaded = l};
  const View medium = dueSoon(e, WidgetFamily::systemMedium);
  ASSERT_EQ(nodes(medium, "ForEach").size(), 1u);
  EXPECT_EQ(nodes(medium, "ForEach")[0].children.size(), 3u);
  EXPECT_FALSE(shows(medium, "CLASSES"));
  EXPECT_TRUE(nodes(medium, "Divider").empty());

  const View large = dueSoon(e, WidgetFamily::systemLarge);
  const auto lists = nodes(large, "ForEach");
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0].children.size(), 5u);
  EXPECT_EQ(lists[1].children.size(), 3u);  // the next class and two later ones
  EXPECT_TRUE(shows(large, "Lecture"));
  EXPECT_TRUE(shows(large, "Lab"));
  EXPECT_FALSE(shows(large, "Seminar"));

  const View started = dueSoon(Entry{.date = kNow + kHour, .loaded = l}, WidgetFamily::systemLarge);
  EXPECT_TRUE(shows(started, "On now"));

  const Loaded noClass = feedOf(std::vector<ClassItem>{}, six);
  const View bare = dueSoon(Entry{.date = kNow, .loaded = noClass}, WidgetFamily::systemLarge);
  EXPECT_FALSE(shows(bare, "CLASSES"));
  EXPECT_TRUE(nodes(bare, "Divider").empty());
}

TEST(DueView, IdenticalItemsAreTwoRows) {
  const DueItem twin = deadline("AMED3003", "Quiz", kNow + kHour, 5.0);
  const View v = dueSoon(Entry{.date = kNow, .loaded = feedOf(std::nullopt, std::vector{twin, twin})},
                         WidgetFamily::systemMedium);
  const auto lists = nodes(v, "ForEach");
  ASSERT_EQ(lists.size(), 1u);
  ASSERT_EQ(lists[0].children.size(), 2u);
  EXPECT_EQ(lists[0].children[0], lists[0].children[1]);
}

TEST(DueView, ColourBarsFollowTheScheme) {
  const Loaded l =
      feedOf(std::nullopt, std::vector{deadline("AMED3003", "Essay", kNow + kHour, 20.0),
                                       deadline("X", "No colour", kNow + kHour, 20.0, std::nullopt)});
  for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    const auto bars = nodes(dueSoon(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemMedium, scheme),
                            "RoundedRectangle");
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(std::get<modifier::Fill>(bars[0].modifiers[0]).color,
              Palette::hex(scheme == ColorScheme::dark ? "#A0DF49" : "#4D7812"));
    EXPECT_EQ(std::get<modifier::Fill>(bars[1].modifiers[0]).color, Color::secondary());
  }
}

TEST(Widgets, TheBundleDeclaresBothWidgetsInOrder) {
  const auto widgets = OstrelWidgets{}.body();
  ASSERT_EQ(widgets.size(), 2u);
  EXPECT_EQ(widgets[0].kind, "NextUp");
  EXPECT_EQ(widgets[0].displayNameKey, "Next up");
  EXPECT_EQ(widgets[0].descriptionKey, "Your next class, counting down, with its room.");
  EXPECT_EQ(widgets[0].families, (std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
  EXPECT_EQ(widgets[1].kind, "DueSoon");
  EXPECT_EQ(widgets[1].displayNameKey, "Due soon");
  EXPECT_EQ(widgets[1].descriptionKey, "What is due in the next three weeks, and the cards due today.");
  EXPECT_EQ(widgets[1].families, (std::vector{WidgetFamily::systemMedium, WidgetFamily::systemLarge}));
  EXPECT_FALSE(widgets[0].offers(WidgetFamily::systemLarge));
  EXPECT_FALSE(widgets[1].offers(WidgetFamily::systemSmall));
}

TEST(Widgets, SizedHandsTheEnvironmentsFamilyToItsContent) {
  std::vector<WidgetFamily> seen;
  const Sized<NextUpView> sized{[&](WidgetFamily f) {
    seen.push_back(f);
    return NextUpView{.entry = Entry{}, .family = f};
  }};
  static_cast<void>(sized.body(envFor(WidgetFamily::systemMedium)));
  static_cast<void>(sized.body(envFor(WidgetFamily::systemLarge)));
  EXPECT_EQ(seen, (std::vector{WidgetFamily::systemMedium, WidgetFamily::systemLarge}));
}

TEST(Widgets, TheContentFunctionHoldsAnEqualCopyOfTheEntry) {
  const Entry e{.date = kNow, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))};
  EXPECT_EQ(NextUpWidget::content(e).content(WidgetFamily::systemSmall).entry, e);
  EXPECT_EQ(DueWidget::content(e).content(WidgetFamily::systemLarge).entry, e);
  EXPECT_EQ(DueWidget::content(e).content(WidgetFamily::systemLarge).family, WidgetFamily::systemLarge);
  // The host's content function is the same view as the face built directly.
  const auto widgets = OstrelWidgets{}.body();
  const Environment env = envFor(WidgetFamily::systemMedium, ColorScheme::dark);
  const View viaHost = widgets[1].content(e, env);
  ASSERT_EQ(viaHost.children.size(), 1u);
  EXPECT_EQ(viaHost.children[0], (DueView{.entry = e, .family = WidgetFamily::systemMedium}.view(env)));
}

}  // namespace
}  // namespace ostrel
