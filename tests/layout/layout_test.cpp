#include "layout/layout.hpp"

#include <gtest/gtest.h>

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

/// Rule 4 to 8: each row a stack (or ZStack) laid out in width × height, the bounds of its children
/// and its own size.
TEST(Layout, StacksDivideAndPlace) {
  struct Row {
    const char* name;
    View view;
    double width, height;
    std::vector<Rect> children;
    Size size;
  };
  const Row rows[] = {
      {"even division",
       HStack(VerticalAlignment::center, 0, {box(), box(), box()}),
       300,
       100,
       {{0, 0, 100, 100}, {100, 0, 100, 100}, {200, 0, 100, 100}},
       {300, 100}},
      {"spacing comes off first",
       HStack(VerticalAlignment::center, 10, {box(), box()}),
       210,
       50,
       {{0, 0, 100, 50}, {110, 0, 100, 50}},
       {210, 50}},
      // A text between two colours is sized first: it takes what it needs of its third.
      {"least flexible first",
       HStack(VerticalAlignment::top, 0, {box(), chars(10), box()}),
       300,
       40,
       {{0, 0, 125, 40}, {125, 0, 50, 10}, {175, 0, 125, 40}},
       {300, 40}},
      {"text wraps to its share",
       HStack(VerticalAlignment::top, 0, {box(), chars(40), box()}),
       300,
       40,
       {{0, 0, 100, 40}, {100, 0, 100, 20}, {200, 0, 100, 40}},
       {300, 40}},
      {"fixed before flexible",
       HStack(VerticalAlignment::center, 0,
              {box().frame(100.0, std::nullopt, Alignment::center), box().frame(100, 10)}),
       150,
       10,
       {{0, 0, 50, 10}, {50, 0, 100, 10}},
       {150, 10}},
      {"spacer takes the rest but keeps its minimum",
       HStack(VerticalAlignment::center, 0, {box(), Spacer(8)}),
       100,
       20,
       {{0, 0, 92, 20}, {92, 10, 8, 0}},
       {100, 20}},
      {"spacers come last",
       VStack(HorizontalAlignment::leading, 0, {chars(2), Spacer(0), chars(4)}),
       100,
       100,
       {{0, 0, 10, 10}, {0, 10, 0, 80}, {0, 90, 20, 10}},
       {20, 100}},
      {"spacer minimum even when overflowing",
       HStack(VerticalAlignment::center, 0, {chars(2).frame(120, 10), Spacer(10)}),
       100,
       10,
       {{0, 0, 120, 10}, {120, 5, 10, 0}},
       {130, 10}},
      {"children that cannot shrink overflow",
       HStack(VerticalAlignment::center, 4, {box().frame(60, 10), box().frame(60, 10)}),
       100,
       10,
       {{0, 0, 60, 10}, {64, 0, 60, 10}},
       {124, 10}},
      // While the text is sized the spacer's minimum is held back: the text is cut to 50.
      {"spacer minimums are held back",
       HStack(VerticalAlignment::top, 0, {chars(20).lineLimit(1), Spacer(10)}),
       60,
       10,
       {{0, 0, 50, 10}, {50, 0, 10, 0}},
       {60, 10}},
      {"divider in an HStack is vertical",
       HStack(VerticalAlignment::center, 0, {box(), Divider(), box()}),
       201,
       50,
       {{0, 0, 100, 50}, {100, 0, 1, 50}, {101, 0, 100, 50}},
       {201, 50}},
      {"divider in a VStack is horizontal",
       VStack(HorizontalAlignment::center, 0, {box(), Divider(), box()}),
       50,
       201,
       {{0, 0, 50, 100}, {0, 100, 50, 1}, {0, 101, 50, 100}},
       {50, 201}},
      {"minor axis alignment",
       VStack(HorizontalAlignment::trailing, 0,
              {chars(2), chars(6), HStack(VerticalAlignment::bottom, 0, {chars(1), chars(1)})}),
       100,
       100,
       {{20, 0, 10, 10}, {0, 10, 30, 10}, {20, 20, 10, 10}},
       {30, 30}},
      {"group children join the stack",
       VStack(HorizontalAlignment::leading, 2,
              {Group({Text::verbatim("ab"), ForEach({Text::verbatim("cd"), Text::verbatim("e")})})
                   .font(Font::system(20))}),
       100,
       100,
       {{0, 0, 20, 20}, {0, 22, 20, 20}, {0, 44, 10, 20}},
       {20, 64}},
      {"ZStack takes its largest child",
       ZStack(Alignment::center, {box().frame(30, 10), box().frame(10, 40)}),
       100,
       100,
       {{0, 15, 30, 10}, {10, 0, 10, 40}},
       {30, 40}},
  };
  for (const Row& r : rows) {
    const Placed root = place(r.view, r.width, r.height);
    std::vector<Rect> children;
    for (const Placed& c : root.children) children.push_back(c.bounds);
    EXPECT_EQ(children, r.children) << r.name;
    EXPECT_EQ((Size{root.bounds.width, root.bounds.height}), r.size) << r.name;
  }
}

/// Rules 8 to 12: each row a view, a proposal, the size (and with a proposal on both axes, the
/// bounds) it takes, and the frame of the primitive inside its modifiers.
TEST(Layout, FramesSizeAndPlace) {
  struct Row {
    const char* name;
    View view;
    Proposal proposal;
    Rect bounds, inner;
  };
  const Row rows[] = {
      {"infinite maximum fills the proposal",
       chars(3).frame(infinity, infinity, Alignment::topLeading),
       {200.0, 100.0},
       {0, 0, 200, 100},
       {0, 0, 15, 10}},
      {"infinite maximum centres",
       chars(3).frame(infinity, infinity, Alignment::center),
       {200.0, 100.0},
       {0, 0, 200, 100},
       {92.5, 45, 15, 10}},
      {"infinite maximum without proposal is the child",
       chars(3).frame(infinity, infinity, Alignment::center),
       {},
       {0, 0, 15, 10},
       {}},
      {"infinite proposal is infinite",
       chars(3).frame(infinity, std::nullopt, Alignment::center),
       {infinity, 50.0},
       {0, 0, infinity, 10},
       {0, 0, 15, 10}},
      {"fixed frame is exact", chars(30).frame(20, 20), {200.0, 200.0}, {0, 0, 20, 20}, {0, -30, 20, 80}},
      {"default padding is 16", box().padding(), {100.0, 100.0}, {0, 0, 100, 100}, {16, 16, 68, 68}},
      {"vertical padding",
       box().padding(Edges::vertical, 2),
       {100.0, 100.0},
       {0, 0, 100, 100},
       {0, 2, 100, 96}},
      {"leading padding around text",
       chars(2).padding(Edges::leading, 5),
       {100.0, 100.0},
       {0, 0, 15, 10},
       {5, 0, 10, 10}},
      {"padding never proposes below zero", box().padding(), {10.0, 10.0}, {0, 0, 32, 32}, {16, 16, 0, 0}},
      {"shapes without proposal are 10", Circle(), {}, {0, 0, 10, 10}, {}},
      {"spacer outside a stack", Spacer(8), {3.0, 30.0}, {0, 0, 8, 30}, {0, 0, 8, 30}},
      {"negative lengths count as 0", Spacer(-5).frame(-3, 4), {9.0, 9.0}, {0, 0, 0, 4}, {0, 0, 0, 4}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(sizeThatFits(r.view, r.proposal, text, onePixel), (Size{r.bounds.width, r.bounds.height}))
        << r.name;
    if (r.proposal.width && r.proposal.height) {
      const Placed p = layout(r.view, Rect{0, 0, *r.proposal.width, *r.proposal.height}, text, onePixel);
      EXPECT_EQ(p.bounds, r.bounds) << r.name;
      EXPECT_EQ(p.frame, r.inner) << r.name;
    }
  }
}

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
