#include "desktop/placement.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "support/rows.hpp"

namespace ostrel::desktop {
namespace {

using test_support::Row;

const Box kArea{.x = 100, .y = 30, .width = 1000, .height = 700};

/// The whole numbers of a field.
std::vector<int> numbers(const std::string& text) {
  std::vector<int> out;
  std::istringstream in(text);
  for (std::string n; in >> n;) out.push_back(std::stoi(n));
  return out;
}

TEST(PlacementTest, StacksAwayFromTheCornerInsideTheMargins) {
  for (const Row& r : test_support::rows("desktop/placement.rows", "arrange")) {
    const Placement p{.corner = cornerNamed(r[0]).value(), .margin = 24, .gap = 16, .monitor = {}};
    std::vector<Box> boxes;
    for (const std::string& b : test_support::words(r[1], ',')) {
      const auto n = numbers(b);
      boxes.push_back({n.at(0), n.at(1), n.at(2), n.at(3)});
    }
    EXPECT_EQ(arrange(p, kArea, {{170, 170}, {364, 170}}), boxes) << r.where;
  }
}

TEST(PlacementTest, InsetsGrowByEachHeightAndTheGap) {
  const Placement p{.corner = Corner::bottomLeft, .margin = 0, .gap = 8, .monitor = {}};
  EXPECT_EQ(insets(p, {{170, 170}, {364, 382}, {364, 170}}),
            (std::vector<Inset>{{0, 0}, {178, 0}, {568, 0}}));
  EXPECT_TRUE(insets(p, {}).empty());
}

TEST(PlacementTest, CornerNamesRoundTripAndNothingElseIsACorner) {
  for (Corner c : {Corner::topLeft, Corner::topRight, Corner::bottomLeft, Corner::bottomRight}) {
    EXPECT_EQ(cornerNamed(name(c)), c);
  }
  for (const char* bad : {"", "top", "Top-Right", "top_right", "top-right "}) {
    EXPECT_EQ(cornerNamed(bad), std::nullopt) << bad;
  }
}

TEST(PlacementTest, AMonitorIsNamedByItsConnectorElseByItsIndex) {
  for (const Row& r : test_support::rows("desktop/placement.rows", "monitor")) {
    const auto index = monitorIndex(r[0], {"DP-1", "HDMI-A-1", "1"});
    EXPECT_EQ(index ? std::to_string(*index) : "-", r[1]) << r.where;
  }
}

TEST(PlacementTest, APlaceOnTheScreenBecomesAnInsetFromTheCornerKeptOnTheMonitor) {
  for (const Row& r : test_support::rows("desktop/placement.rows", "inset")) {
    const Corner corner = cornerNamed(r[0]).value();
    const auto at = numbers(r[1]), inset = numbers(r[2]), back = numbers(r[3]);
    const Inset in = insetAt(corner, kArea, {170, 170}, {at.at(0), at.at(1)});
    EXPECT_EQ(in, (Inset{inset.at(0), inset.at(1)})) << r.where;
    EXPECT_EQ(pointAt(corner, kArea, {170, 170}, in), (Point{back.at(0), back.at(1)})) << r.where;
  }
}

}  // namespace
}  // namespace ostrel::desktop
