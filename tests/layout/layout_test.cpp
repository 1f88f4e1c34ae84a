#include "layout/layout.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fixed_measurer.hpp"

namespace ostrel::layout {
namespace {

using testing::FixedMeasurer;

const FixedMeasurer text;
const Options onePixel{.pixelLength = 1, .defaultPadding = 16};

View box() {
  return ColorView(Color::rgb(0, 0, 1));
}
/// A text of `n` characters; at font 10 it is 5 points per character and 10 points tall.
View chars(int n) {
  return Text::verbatim(std::string(static_cast<std::size_t>(n), 'x')).font(Font::system(10));
}

Placed place(const View& v, double w, double h) {
  return layout(v, Rect{0, 0, w, h}, text, onePixel);
}

/// Frames of the direct children of the root.
std::vector<Rect> childFrames(const Placed& p) {
  std::vector<Rect> out;
  for (const Placed& c : p.children) out.push_back(c.bounds);
  return out;
}

struct StackCase {
  const char* name;
  std::function<View()> view;
  double width, height;
  std::vector<Rect> expected;  // bounds of the root's children
  Size size;                   // the root's size
};

class Stacks : public ::testing::TestWithParam<StackCase> {};

TEST_P(Stacks, DivideAndPlace) {
  const StackCase& c = GetParam();
  const Placed root = place(c.view(), c.width, c.height);
  EXPECT_EQ(childFrames(root), c.expected);
  EXPECT_EQ((Size{root.bounds.width, root.bounds.height}), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Stacks,
    ::testing::Values(
        StackCase{"EvenDivision",
                  [] {
                    return HStack(VerticalAlignment::center, 0, {box(), box(), box()});
                  },
                  300,
                  100,
                  {{0, 0, 100, 100}, {100, 0, 100, 100}, {200, 0, 100, 100}},
                  {300, 100}},
        StackCase{"SpacingComesOffFirst",
                  [] {
                    return HStack(VerticalAlignment::center, 10, {box(), box()});
                  },
                  210,
                  50,
                  {{0, 0, 100, 50}, {110, 0, 100, 50}},
                  {210, 50}},
        // A text between two colours is sized first: it takes what it needs of its third.
        StackCase{"LeastFlexibleFirst",
                  [] {
                    return HStack(VerticalAlignment::top, 0, {box(), chars(10), box()});
                  },
                  300,
                  40,
                  {{0, 0, 125, 40}, {125, 0, 50, 10}, {175, 0, 125, 40}},
                  {300, 40}},
        // The same text at 40 characters wraps to its third.
        StackCase{"TextWrapsToItsShare",
                  [] {
                    return HStack(VerticalAlignment::top, 0, {box(), chars(40), box()});
                  },
                  300,
                  40,
                  {{0, 0, 100, 40}, {100, 0, 100, 20}, {200, 0, 100, 40}},
                  {300, 40}},
        // A fixed frame is sized before a flexible one, which takes what is left.
        StackCase{"FixedBeforeFlexible",
                  [] {
                    return HStack(
                        VerticalAlignment::center, 0,
                        {box().frame(100.0, std::nullopt, Alignment::center), box().frame(100, 10)});
                  },
                  150,
                  10,
                  {{0, 0, 50, 10}, {50, 0, 100, 10}},
                  {150, 10}},
        StackCase{"SpacerTakesTheRestButKeepsItsMinimum",
                  [] {
                    return HStack(VerticalAlignment::center, 0, {box(), Spacer(8)});
                  },
                  100,
                  20,
                  {{0, 0, 92, 20}, {92, 10, 8, 0}},
                  {100, 20}},
        StackCase{"SpacersComeLast",
                  [] {
                    return VStack(HorizontalAlignment::leading, 0, {chars(2), Spacer(0), chars(4)});
                  },
                  100,
                  100,
                  {{0, 0, 10, 10}, {0, 10, 0, 80}, {0, 90, 20, 10}},
                  {20, 100}},
        StackCase{"SpacerMinimumEvenWhenOverflowing",
                  [] {
                    return HStack(VerticalAlignment::center, 0, {chars(2).frame(120, 10), Spacer(10)});
                  },
                  100,
                  10,
                  {{0, 0, 120, 10}, {120, 5, 10, 0}},
                  {130, 10}},
        StackCase{"ChildrenThatCannotShrinkOverflow",
                  [] {
                    return HStack(VerticalAlignment::center, 4, {box().frame(60, 10), box().frame(60, 10)});
                  },
                  100,
                  10,
                  {{0, 0, 60, 10}, {64, 0, 60, 10}},
                  {124, 10}},
        // While the text is sized the spacer's minimum is held back: the text is cut to 50.
        StackCase{"SpacerMinimumsAreHeldBack",
                  [] {
                    return HStack(VerticalAlignment::top, 0, {chars(20).lineLimit(1), Spacer(10)});
                  },
                  60,
                  10,
                  {{0, 0, 50, 10}, {50, 0, 10, 0}},
                  {60, 10}},
        StackCase{"DividerInAnHStackIsVertical",
                  [] {
                    return HStack(VerticalAlignment::center, 0, {box(), Divider(), box()});
                  },
                  201,
                  50,
                  {{0, 0, 100, 50}, {100, 0, 1, 50}, {101, 0, 100, 50}},
                  {201, 50}},
        StackCase{"DividerInAVStackIsHorizontal",
                  [] {
                    return VStack(HorizontalAlignment::center, 0, {box(), Divider(), box()});
                  },
                  50,
                  201,
                  {{0, 0, 50, 100}, {0, 100, 50, 1}, {0, 101, 50, 100}},
                  {50, 201}},
        StackCase{"MinorAxisAlignment",
                  [] {
                    return VStack(
                        HorizontalAlignment::trailing, 0,
                        {chars(2), chars(6), HStack(VerticalAlignment::bottom, 0, {chars(1), chars(1)})});
                  },
                  100,
                  100,
                  {{20, 0, 10, 10}, {0, 10, 30, 10}, {20, 20, 10, 10}},
                  {30, 30}},
        StackCase{"GroupChildrenJoinTheStack",
                  [] {
                    return VStack(
                        HorizontalAlignment::leading, 2,
                        {Group({Text::verbatim("ab"), ForEach({Text::verbatim("cd"), Text::verbatim("e")})})
                             .font(Font::system(20))});
                  },
                  100,
                  100,
                  {{0, 0, 20, 20}, {0, 22, 20, 20}, {0, 44, 10, 20}},
                  {20, 64}},
        StackCase{"ZStackTakesItsLargestChild",
                  [] {
                    return ZStack(Alignment::center, {box().frame(30, 10), box().frame(10, 40)});
                  },
                  100,
                  100,
                  {{0, 15, 30, 10}, {10, 0, 10, 40}},
                  {30, 40}}),
    [](const auto& row) { return std::string(row.param.name); });

struct FrameCase {
  const char* name;
  std::function<View()> view;
  Proposal proposal;
  Rect bounds;  // the whole view
  Rect inner;   // the primitive inside its modifiers
};

class Frames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(Frames, SizeAndPlacement) {
  const FrameCase& c = GetParam();
  const View v = c.view();
  const Size s = sizeThatFits(v, c.proposal, text, onePixel);
  EXPECT_EQ(s, (Size{c.bounds.width, c.bounds.height}));
  if (c.proposal.width && c.proposal.height) {
    const Placed p = layout(v, Rect{0, 0, *c.proposal.width, *c.proposal.height}, text, onePixel);
    EXPECT_EQ(p.bounds, c.bounds);
    EXPECT_EQ(p.frame, c.inner);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Frames,
    ::testing::Values(
        FrameCase{"InfiniteMaximumFillsTheProposal",
                  [] { return chars(3).frame(infinity, infinity, Alignment::topLeading); },
                  {200.0, 100.0},
                  {0, 0, 200, 100},
                  {0, 0, 15, 10}},
        FrameCase{"InfiniteMaximumCentres",
                  [] { return chars(3).frame(infinity, infinity, Alignment::center); },
                  {200.0, 100.0},
                  {0, 0, 200, 100},
                  {92.5, 45, 15, 10}},
        FrameCase{"InfiniteMaximumWithoutProposalIsTheChild",
                  [] { return chars(3).frame(infinity, infinity, Alignment::center); },
                  {},
                  {0, 0, 15, 10},
                  {}},
        FrameCase{"InfiniteProposalIsInfinite",
                  [] { return chars(3).frame(infinity, std::nullopt, Alignment::center); },
                  {infinity, 50.0},
                  {0, 0, infinity, 10},
                  {0, 0, 15, 10}},
        FrameCase{"FixedFrameIsExact",
                  [] { return chars(30).frame(20, 20); },
                  {200.0, 200.0},
                  {0, 0, 20, 20},
                  {0, -30, 20, 80}},
        FrameCase{"DefaultPaddingIs16",
                  [] { return box().padding(); },
                  {100.0, 100.0},
                  {0, 0, 100, 100},
                  {16, 16, 68, 68}},
        FrameCase{"VerticalPadding",
                  [] { return box().padding(Edges::vertical, 2); },
                  {100.0, 100.0},
                  {0, 0, 100, 100},
                  {0, 2, 100, 96}},
        FrameCase{"LeadingPaddingAroundText",
                  [] { return chars(2).padding(Edges::leading, 5); },
                  {100.0, 100.0},
                  {0, 0, 15, 10},
                  {5, 0, 10, 10}},
        FrameCase{"PaddingNeverProposesBelowZero",
                  [] { return box().padding(); },
                  {10.0, 10.0},
                  {0, 0, 32, 32},
                  {16, 16, 0, 0}},
        FrameCase{"ShapesWithoutProposalAre10", [] { return Circle(); }, {}, {0, 0, 10, 10}, {}},
        FrameCase{
            "SpacerOutsideAStack", [] { return Spacer(8); }, {3.0, 30.0}, {0, 0, 8, 30}, {0, 0, 8, 30}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Layout, BackgroundIsSizedToThePrimaryAndDrawnBehind) {
  const View v =
      chars(4).padding(Edges::all, 4).background(box()).padding(Edges::all, 1).background(Circle());
  const Placed p = place(v, 100, 100);
  EXPECT_EQ(p.bounds, (Rect{0, 0, 30, 20}));
  ASSERT_EQ(p.behind.size(), 2U);
  EXPECT_EQ(p.behind[0].kind, Placed::Kind::circle);  // the outer background is drawn first
  EXPECT_EQ(p.behind[0].frame, (Rect{0, 0, 30, 20}));
  EXPECT_EQ(p.behind[1].kind, Placed::Kind::color);
  EXPECT_EQ(p.behind[1].frame, (Rect{1, 1, 28, 18}));
  EXPECT_EQ(p.frame, (Rect{5, 5, 20, 10}));
}

TEST(Layout, EnvironmentInheritsAndTheNearestModifierWins) {
  const Color crimson = Color::rgb(0.8, 0.1, 0.2);
  const View v = VStack(HorizontalAlignment::leading, 0,
                        {Text::verbatim("a").font(Font::system(12)).foregroundStyle(Style::secondary()),
                         Text::verbatim("b"), Circle(), Circle().fill(Color::rgb(0, 1, 0))})
                     .font(Font::system(20, Font::Weight::semibold))
                     .tracking(0.6)
                     .monospacedDigit()
                     .foregroundStyle(crimson);
  const Placed p = place(v, 100, 100);
  ASSERT_EQ(p.children.size(), 4U);
  EXPECT_EQ(p.children[0].textStyle.font, Font::system(12));
  EXPECT_EQ(p.children[0].color, crimson.withOpacity(0.5));  // secondary over a custom colour
  EXPECT_EQ(p.children[1].textStyle.font, Font::system(20, Font::Weight::semibold));
  EXPECT_EQ(p.children[1].textStyle.tracking, 0.6);
  EXPECT_TRUE(p.children[1].textStyle.monospacedDigit);
  EXPECT_EQ(p.children[1].color, crimson);
  EXPECT_EQ(p.children[2].color, crimson);  // an unfilled shape takes the foreground
  EXPECT_EQ(p.children[3].color, Color::rgb(0, 1, 0));
  EXPECT_EQ(place(Text::verbatim("a").foregroundStyle(Style::secondary()), 9, 9).color, Color::secondary());
  EXPECT_EQ(place(Text::verbatim("a"), 9, 9).color, Color::primary());
}

/// Every text frame lies inside `container` (horizontally).
void expectTextsInside(const Placed& p, const Rect& container) {
  if (p.kind == Placed::Kind::text) {
    EXPECT_GE(p.frame.x, container.x - 1e-9) << p.text;
    EXPECT_LE(p.frame.maxX(), container.maxX() + 1e-9) << p.text;
  }
  for (const Placed& c : p.children) expectTextsInside(c, container);
}

TEST(Layout, LongTitlesNeverLeaveTheirColumn) {
  std::string longTitle;
  for (int i = 0; i < 20; ++i) longTitle += "Statistics ";
  const std::vector<std::string> titles = {
      longTitle.substr(0, 200), "مقدمة في الإحصاء التطبيقي والاحتمالات للمبتدئين",
      "📚🧪🎓 Lab "
      "📚🧪🎓📚🧪🎓📚🧪🎓📚🧪🎓📚🧪🎓📚🧪🎓📚🧪🎓"};
  for (const std::string& title : titles) {
    const View row = HStack(VerticalAlignment::center, 8,
                            {RoundedRectangle(1.5).frame(3, 28),
                             VStack(HorizontalAlignment::leading, 1,
                                    {Text::verbatim(title).font(Font::system(12)).lineLimit(1), chars(6)}),
                             Spacer(6), chars(8).lineLimit(1)});
    const View face = VStack(HorizontalAlignment::leading, 3, {row, Text::verbatim(title).lineLimit(1)})
                          .frame(infinity, infinity, Alignment::topLeading);
    const Rect column{16, 16, 138, 138};
    expectTextsInside(layout(face, column, text, onePixel), column);
  }
}

TEST(Layout, WidgetWithContainerBackgroundInsetsTheContent) {
  const View ground =
      ZStack(Alignment::center,
             {box(), RadialGradient({Color::rgb(1, 0, 0), Color::clear()}, UnitPoint::topTrailing, 0, 220)});
  const View content =
      AnyView(Group({chars(2).frame(infinity, infinity, Alignment::topLeading)}).containerBackground(ground));
  const Placed w = layoutWidget(content, Rect{0, 0, 170, 170}, 16, text, onePixel);
  ASSERT_EQ(w.children.size(), 2U);
  EXPECT_EQ(w.children[0].bounds, (Rect{0, 0, 170, 170}));
  EXPECT_EQ(w.children[0].children.at(1).kind, Placed::Kind::gradient);
  EXPECT_EQ(w.children[1].bounds, (Rect{16, 16, 138, 138}));
  EXPECT_EQ(w.children[1].frame, (Rect{16, 16, 10, 10}));

  // The padded path: no container background, the content brings its own padding and ground.
  const View padded =
      Group({chars(2).frame(infinity, infinity, Alignment::topLeading)}).padding().background(ground);
  const Placed p = layoutWidget(padded, Rect{0, 0, 170, 170}, 16, text, onePixel);
  ASSERT_EQ(p.children.size(), 1U);
  EXPECT_EQ(p.children[0].behind.at(0).bounds, (Rect{0, 0, 170, 170}));
  EXPECT_EQ(p.children[0].frame, (Rect{16, 16, 10, 10}));
}

}  // namespace
}  // namespace ostrel::layout
