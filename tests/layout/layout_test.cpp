#include "layout/layout.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fixed_measurer.hpp"
#include "support/rows.hpp"

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

/// The value of `E` (its values 0 to `count` - 1) that `name` gives `word`.
template <class E>
E named(const std::string& word, int count) {
  for (int i = 0; i < count; ++i) {
    if (name(static_cast<E>(i)) == word) return static_cast<E>(i);
  }
  throw std::invalid_argument(word);
}

Alignment alignmentNamed(const std::string& word) {
  for (int i = 0; i < 9; ++i) {
    const Alignment a{static_cast<HorizontalAlignment>(i % 3), static_cast<VerticalAlignment>(i / 3)};
    if (name(a) == word) return a;
  }
  throw std::invalid_argument(word);
}

/// A length as the rows write it: a number, `inf`, or `-` for none.
std::optional<double> lengthOf(const std::string& word) {
  if (word == "-") return std::nullopt;
  return word == "inf" ? infinity : std::stod(word);
}

/// The next view of `in` as the rows under tests/data/layout/ write it (their header says how), its
/// parentheses apart from the rest by spaces.
View readView(std::istream& in) {
  std::string w;
  in >> w;
  if (w == "box") return box();
  if (w == "circle") return Circle();
  if (w == "divider") return Divider();
  if (w.starts_with("spacer:")) return Spacer(std::stod(w.substr(7)));
  if (w.starts_with("t:")) return Text::verbatim(w.substr(2));
  if (w.starts_with("x")) return chars(std::stoi(w.substr(1)));
  if (w != "(") throw std::invalid_argument(w);
  in >> w;
  const std::vector<std::string> a = test_support::words(w, ':');
  std::vector<View> views;
  for (in >> std::ws; in && in.peek() != ')'; in >> std::ws) views.push_back(readView(in));
  in.get();
  if (a[0] == "hstack") return HStack(named<VerticalAlignment>(a.at(1), 3), std::stod(a.at(2)), views);
  if (a[0] == "vstack") return VStack(named<HorizontalAlignment>(a.at(1), 3), std::stod(a.at(2)), views);
  if (a[0] == "zstack") return ZStack(alignmentNamed(a.at(1)), views);
  if (a[0] == "group") return Group(views);
  if (a[0] == "foreach") return ForEach(views);
  View v = views.at(0);  // a modifier's one view
  if (a[0] == "frame" && a.size() == 3) return std::move(v).frame(*lengthOf(a[1]), *lengthOf(a[2]));
  if (a[0] == "frame")
    return std::move(v).frame(lengthOf(a.at(1)), lengthOf(a.at(2)), alignmentNamed(a.at(3)));
  if (a[0] == "padding" && a.size() == 1) return std::move(v).padding();
  if (a[0] == "padding") return std::move(v).padding(named<Edges>(a.at(1), 7), std::stod(a.at(2)));
  if (a[0] == "lines") return std::move(v).lineLimit(std::stoi(a.at(1)));
  if (a[0] == "font") return std::move(v).font(Font::system(std::stod(a.at(1))));
  throw std::invalid_argument(a[0]);
}

View readView(const std::string& written) {
  std::string spaced;
  for (char c : written) spaced += c == '(' || c == ')' ? std::string{' ', c, ' '} : std::string{c};
  std::istringstream in(spaced);
  return readView(in);
}

/// The lengths of a field apart by spaces.
std::vector<std::optional<double>> lengths(const std::string& field) {
  std::vector<std::optional<double>> out;
  for (const std::string& w : test_support::words(field)) out.push_back(lengthOf(w));
  return out;
}

/// The rectangles of a field, apart by commas.
std::vector<Rect> rects(const std::string& field) {
  std::vector<Rect> out;
  for (const std::string& r : test_support::words(field, ',')) {
    const auto n = lengths(r);
    out.push_back(Rect{*n.at(0), *n.at(1), *n.at(2), *n.at(3)});
  }
  return out;
}

TEST(Layout, StacksDivideAndPlace) {
  const auto rows = test_support::rows("layout/layout.rows", "stack");
  ASSERT_FALSE(rows.empty());
  for (const test_support::Row& r : rows) {
    const auto area = lengths(r[2]), size = lengths(r[4]);
    const Placed root = place(readView(r[1]), *area.at(0), *area.at(1));
    std::vector<Rect> children;
    for (const Placed& c : root.children) children.push_back(c.bounds);
    EXPECT_EQ(children, rects(r[3])) << r.where << " " << r[0];
    EXPECT_EQ((Size{root.bounds.width, root.bounds.height}), (Size{*size.at(0), *size.at(1)})) << r.where;
  }
}

TEST(Layout, FramesSizeAndPlace) {
  const auto rows = test_support::rows("layout/layout.rows", "frame");
  ASSERT_FALSE(rows.empty());
  for (const test_support::Row& r : rows) {
    const View view = readView(r[1]);
    const auto p = lengths(r[2]);
    const Rect bounds = rects(r[3]).at(0);
    EXPECT_EQ(sizeThatFits(view, Proposal{p.at(0), p.at(1)}, text, onePixel),
              (Size{bounds.width, bounds.height}))
        << r.where << " " << r[0];
    if (p[0] && p[1]) {
      const Placed placed = layout(view, Rect{0, 0, *p[0], *p[1]}, text, onePixel);
      EXPECT_EQ(placed.bounds, bounds) << r.where << " " << r[0];
      EXPECT_EQ(placed.frame, rects(r[4]).at(0)) << r.where << " " << r[0];
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

}  // namespace
}  // namespace ostrel::layout
