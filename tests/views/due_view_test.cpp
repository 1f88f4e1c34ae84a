// The deadlines face: countdown colours, weights, row counts per family, the card count.

#include "views/due_view.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "components/palette.hpp"
#include "faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

View dueSoon(const Entry& e, WidgetFamily family, ColorScheme scheme = ColorScheme::light) {
  return DueView{.entry = e, .family = family}.view(faceEnvironment(family, scheme));
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
    EXPECT_EQ(std::get<viewtype::Composite>(headings[0].type).args.get<std::string>("trailing"), r.text);
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

}  // namespace
}  // namespace ostrel
