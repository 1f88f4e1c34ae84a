#include "timeline/entry.hpp"

#include <gtest/gtest.h>

#include "feeds.hpp"
#include "support/rows.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

TEST(Entry, WithoutAFeedEverySelectionFallsBack) {
  for (const Loaded& l : {Loaded::off(), Loaded::missing()}) {
    const Entry e{.date = kTen, .loaded = l};
    EXPECT_TRUE(!e.next() && e.later().empty() && e.due().empty() && e.cards() == 0 && !e.week());
  }
}

/// tests/data/timeline/selections.rows: next and later follow document order and strict comparisons.
TEST(Entry, Selections) {
  const auto rows = test_support::rows("timeline/selections.rows");
  ASSERT_GT(rows.size(), 10u);
  for (const test_support::Row& r : rows) {
    std::vector<ClassItem> items;
    const std::vector<std::string> w = test_support::words(r[1]);
    for (std::size_t i = 0; i + 2 < w.size(); i += 3)
      items.push_back(lesson(kTen + std::stod(w[i + 1]) * kHour, kTen + std::stod(w[i + 2]) * kHour, w[i]));
    const Entry e{.date = kTen + std::stod(r[0]) * kHour, .loaded = feedOf(items)};
    std::string later;
    for (const ClassItem& c : e.later()) later += (later.empty() ? "" : " ") + c.title;
    EXPECT_EQ(e.next() ? e.next()->title : "-", r[2]) << r.where;
    EXPECT_EQ(later, r[3]) << r.where;
  }
}

TEST(Entry, DeadlinesStayTwelveHoursAfterTheyFallDue) {
  const Loaded l = feedOf({}, {deadline(kTen - 13 * kHour, "gone"), deadline(kTen - 12 * kHour, "edge"),
                               deadline(kTen - 11.99 * kHour, "grace"), deadline(kTen + 672 * kHour, "far")});
  const Entry e{.date = kTen, .loaded = l};
  std::string names;
  for (const DueItem& d : e.due()) names += d.name + " ";
  EXPECT_EQ(names, "grace far ");
  EXPECT_EQ(e.cards(), 7);
  EXPECT_EQ(e.week(), "W");
  // "edge" leaves at its due + 12 h exactly.
  EXPECT_EQ((Entry{.date = kTen - 1, .loaded = l}.due().size()), 3u);
}

}  // namespace
}  // namespace ostrel
