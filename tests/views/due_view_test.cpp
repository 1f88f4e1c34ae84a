// The deadlines face where its goldens cannot reach: the boundaries of the accent, the card count
// and the weights, and two identical deadlines.

#include "views/due_view.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "components/palette.hpp"
#include "faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

View dueSoon(const std::string& feed, const std::string& date) {
  return DueView{.entry = situation(feed, date), .family = WidgetFamily::systemMedium}.view(
      faceEnvironment(WidgetFamily::systemMedium));
}

TEST(DueView, CountdownsTurnToTheAccentInsideFortyEightHoursAndOverdueAfter) {
  // The first deadline of week.json is due at 2026-03-03T06:00:00Z.
  for (const auto& [date, accent] : {std::pair{"2026-03-01T06:00:00Z", false},
                                     {"2026-03-01T06:00:01Z", true},
                                     {"2026-03-03T06:00:00Z", true}}) {
    const auto whens = nodes(dueSoon("week.json", date), "When");
    ASSERT_FALSE(whens.empty()) << date;
    EXPECT_EQ(std::get<modifier::ForegroundStyle>(whens[0].modifiers.at(0)).style,
              Style::of(accent ? Palette::crimson() : Color::secondary()))
        << date;
  }
  EXPECT_FALSE(shows(dueSoon("week.json", "2026-03-03T06:00:00Z"), "Overdue"));
  EXPECT_TRUE(shows(dueSoon("week.json", "2026-03-03T06:00:01Z"), "Overdue"));
}

TEST(DueView, CardCountsAndWeightsRoundHalfAwayFromZeroOrAreLeftOut) {
  for (const auto& [cards, text] : {std::pair<std::int64_t, std::optional<std::string>>{0, std::nullopt},
                                    {-4, std::nullopt},
                                    {1, "1 card due"},
                                    {2, "2 cards due"},
                                    {1200, "1200 cards due"}}) {
    EXPECT_EQ(DueView::cardText(cards), text) << cards;
  }
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [weight, percent] : {std::pair<double, std::optional<std::int64_t>>{20.0, 20},
                                        {12.5, 13},
                                        {12.4, 12},
                                        {0.4, 0},
                                        {-2.5, -3},
                                        {1e300, std::nullopt},
                                        {-1e300, std::nullopt},
                                        {9.3e18, std::nullopt},
                                        {inf, std::nullopt},
                                        {nan, std::nullopt},
                                        {-9.2e18, -9'200'000'000'000'000'000}}) {
    EXPECT_EQ(DueView::wholePercent(weight), percent) << weight;
  }
}

TEST(DueView, IdenticalItemsAreTwoRows) {
  const auto lists = nodes(dueSoon("twins.json", "2026-03-02T10:00:00Z"), "ForEach");
  ASSERT_EQ(lists.size(), 1u);
  ASSERT_EQ(lists[0].children.size(), 2u);
  EXPECT_EQ(lists[0].children[0], lists[0].children[1]);
}

}  // namespace
}  // namespace ostrel
