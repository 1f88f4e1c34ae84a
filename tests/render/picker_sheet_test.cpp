// The widget picker sheet: a whole-pixel size at whole scales, and a
// sheet colour that sets off light and dark faces alike.
#include "render/picker_sheet.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "components/ground.hpp"
#include "fonts.hpp"
#include "pixels.hpp"

namespace ostrel::render {
namespace {

/// Relative luminance of an 8-bit sRGB pixel.
double luminance(const testing::Pixel& p) {
  auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(p.r) + 0.7152 * linear(p.g) + 0.0722 * linear(p.b);
}

double contrast(const testing::Pixel& a, const testing::Pixel& b) {
  const double x = luminance(a) + 0.05, y = luminance(b) + 0.05;
  return std::max(x, y) / std::min(x, y);
}

std::vector<PickerSection> sections() {
  std::vector<PickerSection> out;
  for (const auto& [name, families] :
       {std::pair{"Next up", std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}},
        std::pair{"Due soon", std::vector{WidgetFamily::systemMedium, WidgetFamily::systemLarge}}}) {
    PickerSection s{.displayName = name, .description = "A description of the widget.", .faces = {}};
    for (WidgetFamily f : families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        s.faces.push_back(PickerFace{
            .view = ColorView(scheme == ColorScheme::dark ? Ground::darkPlate : Ground::lightPlate),
            .family = f,
            .scheme = scheme});
      }
    }
    out.push_back(std::move(s));
  }
  return out;
}

TEST(PickerSheet, WholePixelsAtWholeScales) {
  const auto one = renderPickerSheet(sections(), fonts(), {.format = Format::png, .scale = 1});
  ASSERT_TRUE(one);
  const testing::Pixels a = testing::Pixels::decode(*one);
  for (const double scale : {2.0}) {
    const auto png = renderPickerSheet(sections(), fonts(), {.format = Format::png, .scale = scale});
    ASSERT_TRUE(png);
    const testing::Pixels b = testing::Pixels::decode(*png);
    EXPECT_EQ(b.width, static_cast<int>(a.width * scale));
    EXPECT_EQ(b.height, static_cast<int>(a.height * scale));
    // Every face starts on a whole pixel: down a column through the second face (dark, clear of
    // the texts above it), the sheet gives way to the plate in one step, with no blended row.
    const int x = static_cast<int>(300 * scale);
    int top = 0;
    while (top < b.height && std::abs(b.at(x, top).r - b.at(2, 2).r) <= 1) ++top;
    ASSERT_LT(top, b.height);
    EXPECT_NEAR(b.at(x, top).r, static_cast<int>(std::lround(Ground::darkPlate.red * 255)), 1) << scale;
  }
}

TEST(PickerSheet, TheSheetSetsOffLightAndDarkFacesAlike) {
  const auto png = renderPickerSheet(sections(), fonts(), {.format = Format::png, .scale = 1});
  ASSERT_TRUE(png);
  const testing::Pixels px = testing::Pixels::decode(*png);
  const testing::Pixel sheet = px.at(4, 4);
  const testing::Pixel light{static_cast<int>(Ground::lightPlate.red * 255),
                             static_cast<int>(Ground::lightPlate.green * 255),
                             static_cast<int>(Ground::lightPlate.blue * 255), 255};
  const testing::Pixel dark{static_cast<int>(Ground::darkPlate.red * 255),
                            static_cast<int>(Ground::darkPlate.green * 255),
                            static_cast<int>(Ground::darkPlate.blue * 255), 255};
  EXPECT_GE(contrast(sheet, light), 2.5);
  EXPECT_GE(contrast(sheet, dark), 2.5);
}

}  // namespace
}  // namespace ostrel::render
