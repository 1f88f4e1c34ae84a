#include "timeline/entry.hpp"

#include <gtest/gtest.h>

#include "feeds.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

/// `title` from `startHours` to `endHours` after kTen.
ClassItem at(const char* title, double startHours, double endHours) {
  return lesson(kTen + startHours * kHour, kTen + endHours * kHour, title);
}

template <class Item, class Field>
std::vector<std::string> names(const Entry::Items<Item>& items, Field field) {
  std::vector<std::string> out;
  for (const Item& i : items) out.push_back(i.*field);
  return out;
}

TEST(Entry, WithoutAFeedEverySelectionFallsBack) {
  for (const Loaded& l : {Loaded::off(), Loaded::missing()}) {
    const Entry e{.date = kTen, .loaded = l};
    EXPECT_TRUE(!e.next() && e.later().empty() && e.due().empty() && e.cards() == 0 && !e.week());
  }
}

struct Case {
  std::vector<ClassItem> classes;
  double atHours;
  std::optional<std::string> next;
  std::vector<std::string> later;
};

class Selections : public testing::TestWithParam<Case> {};

TEST_P(Selections, NextAndLaterFollowDocumentOrderAndStrictComparisons) {
  const Case& c = GetParam();
  const Entry e{.date = kTen + c.atHours * kHour, .loaded = feedOf(c.classes)};
  EXPECT_EQ(e.next() ? std::optional(e.next()->title) : std::nullopt, c.next);
  EXPECT_EQ(names(e.later(), &ClassItem::title), c.later);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Selections,
    testing::Values(
        Case{{}, 0, std::nullopt, {}},
        Case{{at("under way", 0, 1), at("b", 2, 3)}, 0.5, "under way", {"b"}},
        Case{{at("ends now", 0, 1), at("b", 2, 3)}, 1, "b", {}},
        Case{{at("starts now", 1, 2)}, 1, "starts now", {}},
        Case{{at("equal start", 1, 2), at("b", 1, 2), at("c", 4, 5)}, 0, "equal start", {"c"}},
        Case{{at("n", 1, 2), at("1", 3, 4), at("2", 5, 6), at("3", 7, 8), at("4", 9, 10)}, 0, "n", {"1", "2", "3"}},
        Case{{at("first listed", 5, 6), at("ends sooner", 1, 2)}, 0, "first listed", {}},
        Case{{at("past", -3, -2), at("after", 9, 10), at("n", 1, 2)}, 0, "after", {}},
        Case{{at("ends before its start", 5, -1), at("n", 1, 2)}, 0, "n", {"ends before its start"}},
        Case{{at("done", -2, -1), at("x", 6, 7), at("a", 1, 2), at("b", 3, 4)}, 0, "x", {}},
        Case{{at("judged by its end", 5, 1), at("b", 2, 3)}, 0.5, "judged by its end", {}}));
// clang-format on

TEST(Entry, DeadlinesStayTwelveHoursAfterTheyFallDue) {
  const Loaded l = feedOf({}, {deadline(kTen - 13 * kHour, "gone"), deadline(kTen - 12 * kHour, "edge"),
                               deadline(kTen - 11.99 * kHour, "grace"), deadline(kTen + 672 * kHour, "far")});
  const Entry e{.date = kTen, .loaded = l};
  EXPECT_EQ(names(e.due(), &DueItem::name), (std::vector<std::string>{"grace", "far"}));
  EXPECT_EQ(e.cards(), 7);
  EXPECT_EQ(e.week(), "W");
  // "edge" leaves at its due + 12 h exactly.
  EXPECT_EQ((Entry{.date = kTen - 1, .loaded = l}.due().size()), 3u);
}

}  // namespace
}  // namespace ostrel
