// The widget picker sheet: a whole-pixel size at whole scales, and a sheet colour that sets off
// light and dark faces alike.
#include "render/picker_sheet.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "components/ground.hpp"
#include "fonts.hpp"
#include "pixels.hpp"

namespace ostrel::render {
namespace {

/// Relative luminance of an sRGB colour, 0 to 1 per channel.
double luminance(double r, double g, double b) {
  auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

TEST(PickerSheet, WholePixelsAndASheetThatSetsOffLightAndDarkFaces) {
  std::vector<PickerSection> sections;
  for (const char* name : {"Next up", "Due soon"}) {
    PickerSection s{.displayName = name, .description = "A description of the widget.", .faces = {}};
    for (WidgetFamily f : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
      s.faces.push_back(
          PickerFace{.view = ColorView(Ground::lightPlate), .family = f, .scheme = ColorScheme::light});
      s.faces.push_back(
          PickerFace{.view = ColorView(Ground::darkPlate), .family = f, .scheme = ColorScheme::dark});
    }
    sections.push_back(std::move(s));
  }
  const auto one = renderPickerSheet(sections, fonts(), {.format = Format::png, .scale = 1});
  const auto two = renderPickerSheet(sections, fonts(), {.format = Format::png, .scale = 2});
  ASSERT_TRUE(one && two);
  const testing::Pixels a = testing::Pixels::decode(*one), b = testing::Pixels::decode(*two);
  EXPECT_EQ(b.width, a.width * 2);
  EXPECT_EQ(b.height, a.height * 2);
  // Every face starts on a whole pixel: down a column through the second face (dark, clear of the
  // texts above it), the sheet gives way to the plate in one step, with no blended row.
  int top = 0;
  while (top < b.height && std::abs(b.at(600, top).r - b.at(2, 2).r) <= 1) ++top;
  ASSERT_LT(top, b.height);
  EXPECT_NEAR(b.at(600, top).r, static_cast<double>(std::lround(Ground::darkPlate.red * 255)), 1);
  // The sheet's contrast with either plate is at least 2.5.
  const testing::Pixel p = a.at(4, 4);
  const double sheet = luminance(p.r / 255.0, p.g / 255.0, p.b / 255.0) + 0.05;
  for (const Color& plate : {Ground::lightPlate, Ground::darkPlate}) {
    const double other = luminance(plate.red, plate.green, plate.blue) + 0.05;
    EXPECT_GE(std::max(sheet, other) / std::min(sheet, other), 2.5);
  }
}

}  // namespace
}  // namespace ostrel::render
