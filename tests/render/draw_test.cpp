// Drawing on the device-pixel grid, read back from the pixels at scales 1, 2 and 3: a divider is
// exactly one device pixel of its full colour, and the edges of filled shapes cover whole pixels,
// wherever the layout puts them.
#include "render/draw.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "fonts.hpp"
#include "pixels.hpp"
#include "render/image.hpp"

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

INSTANTIATE_TEST_SUITE_P(Scales, Grid, ::testing::Values(1.0, 2.0, 3.0));

}  // namespace
}  // namespace ostrel::render
