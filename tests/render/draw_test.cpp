// Drawing on the device-pixel grid, read back from the pixels at scales 1, 2 and 3: a divider is
// exactly one device pixel of its full colour, and the edges of filled shapes cover whole pixels,
// wherever the layout puts them, in made-up views and in the sample's faces.
#include "render/draw.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "feed/date_rule.hpp"
#include "fonts.hpp"
#include "pixels.hpp"
#include "render/canvas.hpp"
#include "render/image.hpp"
#include "timeline/sample.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::render {
namespace {

using layout::infinity;

testing::Pixels draw(const View& v, double scale) {
  const auto png = renderWidget(v, WidgetFamily::systemSmall, ColorScheme::light, fonts(),
                                {.format = Format::png, .scale = scale});
  return png ? testing::Pixels::decode(*png) : testing::Pixels{};
}

/// A white widget with `content` inset by fractional amounts, so that nothing falls on the grid.
View onWhite(View content) {
  return std::move(content)
      .padding(Edges::top, 20.37)
      .padding(Edges::leading, 30.41)
      .padding(Edges::bottom, 20.29)
      .padding(Edges::trailing, 30.53)
      .background(ColorView(Color::rgb(1, 1, 1)));
}

/// The pixels of row `y` (or column `x`, when `column`) that are not white.
std::vector<testing::Pixel> marked(const testing::Pixels& px, int at, bool column) {
  std::vector<testing::Pixel> out;
  const int n = column ? px.height : px.width;
  for (int i = 0; i < n; ++i) {
    const testing::Pixel p = column ? px.at(at, i) : px.at(i, at);
    if (p.r != 255 || p.g != 255 || p.b != 255) out.push_back(p);
  }
  return out;
}

class Grid : public ::testing::TestWithParam<double> {};

TEST_P(Grid, ADividerIsOneDevicePixelOfItsFullColour) {
  const double scale = GetParam();
  // Black at 10 % over white.
  const int divider = static_cast<int>(std::lround(255 * 0.9));
  const View across =
      HStack(VerticalAlignment::center, 0,
             {ColorView(Color::clear()).frame(47.3, 10), Divider(), ColorView(Color::clear())});
  const View down = VStack(HorizontalAlignment::center, 0,
                           {ColorView(Color::clear()).frame(10, 33.7), Divider(), ColorView(Color::clear())});
  for (const auto& [view, column] : {std::pair{across, false}, std::pair{down, true}}) {
    const testing::Pixels px = draw(onWhite(view), scale);
    ASSERT_FALSE(px.data.empty());
    const int middle = static_cast<int>(85 * scale);
    const std::vector<testing::Pixel> line = marked(px, middle, column);
    ASSERT_EQ(line.size(), 1u) << "scale " << scale
                               << (column ? " (horizontal divider)" : " (vertical divider)");
    EXPECT_NEAR(line[0].g, divider, 1) << "scale " << scale;
  }
}

TEST_P(Grid, FilledShapesCoverWholePixels) {
  const double scale = GetParam();
  // A 3-point colour bar (rounded, as in the due list) and a plain colour, at fractional places.
  const Color green = Color::rgb(0.302, 0.471, 0.071);
  View shapes =
      HStack(VerticalAlignment::top, 5.3,
             {RoundedRectangle(1.5).fill(green).frame(3, 28), ColorView(green).frame(3, 28), Spacer(0)});
  const testing::Pixels px =
      draw(onWhite(std::move(shapes).frame(infinity, infinity, Alignment::topLeading)), scale);
  ASSERT_FALSE(px.data.empty());
  const int g = static_cast<int>(std::lround(255 * 0.471));
  // Across the middle of both: every marked pixel is the full colour.
  const int row = static_cast<int>((20.37 + 14) * scale);
  const auto across = marked(px, row, false);
  EXPECT_EQ(across.size(), static_cast<std::size_t>(2 * std::lround(3 * scale))) << "scale " << scale;
  for (const testing::Pixel& p : across) EXPECT_NEAR(p.g, g, 1) << "scale " << scale;
  // Down the middle of the plain colour: whole pixels at its top and bottom too.
  const int column = static_cast<int>((30.41 + 3 + 5.3 + 1.5) * scale);
  const auto down = marked(px, column, true);
  EXPECT_EQ(down.size(), static_cast<std::size_t>(std::lround(28 * scale))) << "scale " << scale;
  for (const testing::Pixel& p : down) EXPECT_NEAR(p.g, g, 1) << "scale " << scale;
}

/// The dividers of `placed`, outermost first.
void dividersOf(const layout::Placed& placed, std::vector<layout::Rect>& out) {
  if (placed.kind == layout::Placed::Kind::divider) out.push_back(placed.frame);
  for (const layout::Placed& b : placed.behind) dividersOf(b, out);
  for (const layout::Placed& c : placed.children) dividersOf(c, out);
}

TEST_P(Grid, TheFacesDividersAreOneDevicePixelOfTheirFullColour) {
  // The sample's faces with dividers: across the large Due soon, down the medium Next up. Across
  // each divider, within a few points of it, only one device pixel differs from the background
  // beside it, by the whole of the divider's colour (black at 10 % or white at 15 %).
  const double scale = GetParam();
  const Date now = parseDate("2026-03-02T09:30:00Z").value_or(Date{});
  const Entry entry{.date = now, .loaded = Loaded::feed(Sample::feed(Clock::fixed(now)))};
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily family : w.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        Environment env;
        env.widgetFamily = family;
        env.colorScheme = scheme;
        env.systemVersion = SystemVersion{14, 0, 0};
        env.locale = "en_US";
        env.timeZone = TimeZone::utc();
        const View face = w.content(entry, env);
        const Canvas c = canvasFor(family);
        std::vector<layout::Rect> dividers;
        dividersOf(layout::layoutWidget(face, {0, 0, c.width, c.height}, c.margin, fonts(),
                                        {.pixelLength = 1 / scale}),
                   dividers);
        const auto png = renderWidget(face, family, scheme, fonts(), {.format = Format::png, .scale = scale});
        ASSERT_TRUE(png);
        const testing::Pixels px = testing::Pixels::decode(*png);
        const std::string what = w.kind + " " + name(family) + " " + name(scheme) + " at scale " +
                                 std::to_string(static_cast<int>(scale));
        for (const layout::Rect& d : dividers) {
          const bool across = d.width > d.height;
          // Device pixels along the line through the divider's middle, 4 points either side.
          const int mid = static_cast<int>(((across ? d.x + d.width / 2 : d.y + d.height / 2)) * scale);
          const int from = static_cast<int>(((across ? d.y : d.x) - 4) * scale);
          const int to = static_cast<int>(((across ? d.y : d.x) + 4) * scale);
          const auto at = [&](int i) { return across ? px.at(mid, i) : px.at(i, mid); };
          const testing::Pixel background = at(from);
          std::vector<testing::Pixel> marked;
          for (int i = from; i <= to; ++i) {
            if (std::abs(at(i).g - background.g) > 3) marked.push_back(at(i));
          }
          ASSERT_EQ(marked.size(), 1u) << what;
          const double alpha = scheme == ColorScheme::light ? 0.10 : 0.15;
          const double full = scheme == ColorScheme::light ? 0 : 255;
          EXPECT_NEAR(marked[0].g, background.g * (1 - alpha) + full * alpha, 2) << what;
        }
        if (w.kind == "DueSoon" && family == WidgetFamily::systemLarge) {
          EXPECT_FALSE(dividers.empty()) << what;
        }
        if (w.kind == "NextUp" && family == WidgetFamily::systemMedium) {
          EXPECT_FALSE(dividers.empty()) << what;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, Grid, ::testing::Values(1.0, 2.0, 3.0));

}  // namespace
}  // namespace ostrel::render
