#include "desktop/placement.hpp"

#include <gtest/gtest.h>

namespace ostrel::desktop {
namespace {

const Box kArea{.x = 100, .y = 30, .width = 1000, .height = 700};
const std::vector<Size> kTwo{{170, 170}, {364, 170}};

struct Row {
  Corner corner;
  std::vector<Box> boxes;
};

class ArrangeTest : public ::testing::TestWithParam<Row> {};

TEST_P(ArrangeTest, StacksAwayFromTheCornerInsideTheMargins) {
  const Row& r = GetParam();
  EXPECT_EQ(arrange(Placement{.corner = r.corner, .margin = 24, .gap = 16, .monitor = {}}, kArea, kTwo),
            r.boxes);
}

// Work area 100..1100 × 30..730; margin 24, gap 16.
INSTANTIATE_TEST_SUITE_P(
    Corners, ArrangeTest,
    ::testing::Values(Row{Corner::topRight, {{906, 54, 170, 170}, {712, 240, 364, 170}}},
                      Row{Corner::topLeft, {{124, 54, 170, 170}, {124, 240, 364, 170}}},
                      Row{Corner::bottomRight, {{906, 536, 170, 170}, {712, 350, 364, 170}}},
                      Row{Corner::bottomLeft, {{124, 536, 170, 170}, {124, 350, 364, 170}}}));

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
  const std::vector<std::string> outputs{"DP-1", "HDMI-A-1", "1"};
  struct Choice {
    const char* choice;
    std::optional<int> index;
  };
  for (const Choice& r : {Choice{"HDMI-A-1", 1}, Choice{"1", 2}, Choice{"0", 0}, Choice{"3", {}},
                          Choice{"dp-1", {}}, Choice{"", {}}, Choice{"-1", {}}, Choice{"99999999999", {}}}) {
    EXPECT_EQ(monitorIndex(r.choice, outputs), r.index) << r.choice;
  }
}

TEST(PlacementTest, APlaceOnTheScreenBecomesAnInsetFromTheCornerKeptOnTheMonitor) {
  struct Case {
    Corner corner;
    Point at;
    Inset inset;
    Point back;  ///< where that inset puts the widget
  };
  // A 170-point widget on the monitor at 100..1100 × 30..730.
  for (const Case& c : {Case{Corner::topLeft, {300, 80}, {50, 200}, {300, 80}},
                        Case{Corner::bottomRight, {300, 80}, {480, 630}, {300, 80}},
                        Case{Corner::topRight, {-500, 900}, {530, 830}, {100, 560}},
                        Case{Corner::bottomLeft, {2000, 10}, {530, 830}, {930, 30}}}) {
    const Inset in = insetAt(c.corner, kArea, {170, 170}, c.at);
    EXPECT_EQ(in, c.inset) << name(c.corner);
    EXPECT_EQ(pointAt(c.corner, kArea, {170, 170}, in), c.back) << name(c.corner);
  }
}

}  // namespace
}  // namespace ostrel::desktop
