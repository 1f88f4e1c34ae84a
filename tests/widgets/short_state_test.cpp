// Each widget's short state for status bars, as a table of data (tests/data/widgets/).
#include "widgets/short_state.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "support/rows.hpp"
#include "timeline/feeds.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using testing_timeline::kTen;

Loaded loadedOf(const std::string& cell) {
  if (cell == "off") return Loaded::off();
  if (cell == "missing") return Loaded::missing();
  std::vector<ClassItem> classes;
  std::vector<DueItem> due;
  std::istringstream items(cell);
  for (std::string item; std::getline(items, item, ';');) {
    std::istringstream in(item);
    std::string what, unit;
    double a = 0, b = 0;
    in >> what >> unit >> a >> b;
    if (what == "class")
      classes.push_back({.unit = unit,
                         .title = "Lecture",
                         .where = std::nullopt,
                         .start = kTen + a,
                         .end = kTen + b,
                         .color = std::nullopt});
    if (what == "due")
      due.push_back(
          {.unit = unit, .name = "Quiz", .due = kTen + a, .weight = std::nullopt, .color = std::nullopt});
  }
  return testing_timeline::feedOf(std::move(classes), std::move(due));
}

TEST(ShortState, OfEachWidgetInEachSituation) {
  const auto rows = test_support::rowsOf("widgets/short_state.rows", "short");
  ASSERT_FALSE(rows.empty());
  const Environment env{.locale = "en_US", .timeZone = "UTC"};
  for (const test_support::Row& r : rows) {
    const Entry entry{.date = kTen, .loaded = loadedOf(r.cells[1])};
    std::optional<ShortState> got;
    for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
      if (w.kind == r.cells[0]) got = w.shortState(entry, env);
    }
    EXPECT_EQ(got, (ShortState{.state = r.cells[2], .text = r.cells[3]})) << r.where;
  }
}

}  // namespace
}  // namespace ostrel
