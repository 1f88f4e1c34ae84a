#include "timeline/entry.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "feeds.hpp"

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
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/tests/data/timeline/selections.rows");
  int rows = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    double at = 0, start = 0, end = 0;
    std::string classes, next, later, title;
    row >> at;
    row.ignore(3);
    std::getline(row, classes, '|');
    row >> next;
    std::getline(row, later);  // " | " and the later classes
    std::vector<ClassItem> items;
    for (std::istringstream c(classes); c >> title >> start >> end;) {
      items.push_back(lesson(kTen + start * kHour, kTen + end * kHour, title));
    }
    const Entry e{.date = kTen + at * kHour, .loaded = feedOf(items)};
    std::string laterGot;
    for (const ClassItem& c : e.later()) laterGot += (laterGot.empty() ? "" : " ") + c.title;
    EXPECT_EQ(e.next() ? e.next()->title : "-", next) << line;
    EXPECT_EQ(laterGot, later.substr(std::min<std::size_t>(3, later.size()))) << line;
    ++rows;
  }
  EXPECT_GT(rows, 10);
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
