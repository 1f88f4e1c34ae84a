// The deadlines face where its goldens cannot reach: the boundaries of the accent, the card count
// and the weights, and two identical deadlines (or classes).

#include "views/due_view.hpp"

#include <gtest/gtest.h>

#include "components/palette.hpp"
#include "faces.hpp"
#include "support/rows.hpp"
#include "views/next_up_view.hpp"

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
  const auto none = [](const std::string& f) { return f == "-"; };
  for (const auto& r : test_support::rows("views/due.rows", "cards"))
    EXPECT_EQ(DueView::cardText(std::stoll(r[0])), none(r[1]) ? std::nullopt : std::optional(r[1]))
        << r.where;
  for (const auto& r : test_support::rows("views/due.rows", "percent"))
    EXPECT_EQ(DueView::wholePercent(std::stod(r[0])),
              none(r[1]) ? std::nullopt : std::optional<std::int64_t>(std::stoll(r[1])))
        << r.where;
}

// Two identical classes or deadlines are two rows of each face.
TEST(Faces, IdenticalItemsAreTwoRows) {
  const Entry twins = situation("twins.json", "2026-03-02T10:00:00Z");
  const Environment env = faceEnvironment(WidgetFamily::systemMedium);
  for (const View& face : {DueView{.entry = twins, .family = WidgetFamily::systemMedium}.view(env),
                           NextUpView{.entry = twins, .family = WidgetFamily::systemMedium}.view(env)}) {
    const auto lists = nodes(face, "ForEach");
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].children.size(), 2u);
    EXPECT_EQ(lists[0].children[0], lists[0].children[1]);
  }
}

}  // namespace
}  // namespace ostrel
