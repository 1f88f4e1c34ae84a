// Encoded images: sizes in device pixels for PNG and in CSS pixels for SVG at every scale, formats by extension,
// well-formed SVG, scales out of range refused.
#include "render/image.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <tuple>

#include "fonts.hpp"
#include "pixels.hpp"

namespace ostrel::render {
namespace {

TEST(Image, SvgSizesArePixelsOnePerPointAndPngSizesDevicePixels) {
  for (const auto& [family, width, height] : {std::tuple{WidgetFamily::systemSmall, 170, 170},
                                              {WidgetFamily::systemMedium, 364, 170},
                                              {WidgetFamily::systemLarge, 364, 382}}) {
    for (const double scale : {1.0, 1.5, 2.0, 3.0}) {
      const View red = ColorView(Color::rgb(1, 0, 0));
      const auto png =
          renderWidget(red, family, ColorScheme::dark, fonts(), {.format = Format::png, .scale = scale});
      const auto svg =
          renderWidget(red, family, ColorScheme::light, fonts(), {.format = Format::svg, .scale = scale});
      ASSERT_TRUE(png && svg);
      const testing::Pixels px = testing::Pixels::decode(*png);
      EXPECT_EQ(px.width, static_cast<int>(std::ceil(width * scale)));
      EXPECT_EQ(px.height, static_cast<int>(std::ceil(height * scale)));
      const std::string head = svg->substr(0, svg->find('>', svg->find("<svg")) + 1);
      EXPECT_NE(head.find(" width=\"" + std::to_string(width) + "px\""), std::string::npos) << head;
      EXPECT_NE(head.find(" height=\"" + std::to_string(height) + "px\""), std::string::npos) << head;
    }
  }
}

TEST(Image, FormatsByExtension) {
  const std::vector<std::pair<std::string, std::optional<Format>>> rows = {
      {"a.png", Format::png}, {"out/A.SVG", Format::svg},  {"a.jpg", std::nullopt},
      {"png", std::nullopt},  {"dir.png/x", std::nullopt}, {"a.png.txt", std::nullopt}};
  for (const auto& [path, format] : rows) EXPECT_EQ(formatFor(path), format) << path;
}

TEST(Image, SvgIsWellFormedXml) {
  const View v = Text::verbatim("R&D <intro> \"quoted\"").font(Font::system(12));
  const auto svg =
      renderWidget(v, WidgetFamily::systemSmall, ColorScheme::dark, fonts(), {.format = Format::svg});
  ASSERT_TRUE(svg);
  const std::string path = ::testing::TempDir() + "face.svg";
  std::ofstream(path, std::ios::binary) << *svg;
  EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0);
}

TEST(Image, ScalesOutOfRangeAreRefused) {
  for (const double scale :
       {0.0, -1.0, 17.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    const auto png = encodeImage(10, 10, {.format = Format::png, .scale = scale}, [](cairo_t*) {});
    ASSERT_FALSE(png) << scale;
    EXPECT_EQ(png.error().kind, RenderError::Kind::drawing);
  }
}

}  // namespace
}  // namespace ostrel::render
