// Encoded images: sizes in device pixels for PNG and in CSS pixels for SVG, formats by extension,
// well-formed SVG, scales out of range refused.
#include "render/image.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <regex>
#include <string>

#include "fonts.hpp"
#include "pixels.hpp"

namespace ostrel::render {
namespace {

TEST(Image, SvgSizesArePixelsOnePerPoint) {
  struct Row {
    WidgetFamily family;
    const char* width;
    const char* height;
  };
  for (const Row& r :
       {Row{WidgetFamily::systemSmall, "170", "170"}, Row{WidgetFamily::systemMedium, "364", "170"},
        Row{WidgetFamily::systemLarge, "364", "382"}}) {
    const auto svg = renderWidget(ColorView(Color::rgb(1, 0, 0)), r.family, ColorScheme::light, fonts(),
                                  {.format = Format::svg, .scale = 2});
    ASSERT_TRUE(svg);
    std::smatch m;
    const std::string head = svg->substr(0, svg->find('>', svg->find("<svg")) + 1);
    ASSERT_TRUE(
        std::regex_search(head, m, std::regex(R"re(<svg[^>]*\swidth="([^"]*)"[^>]*\sheight="([^"]*)")re")))
        << head;
    EXPECT_EQ(m[1].str(), std::string(r.width) + "px") << head;
    EXPECT_EQ(m[2].str(), std::string(r.height) + "px") << head;
  }
}

TEST(Image, PngSizesAreDevicePixels) {
  for (const double scale : {1.0, 2.0, 3.0, 1.5}) {
    const auto png = renderWidget(ColorView(Color::rgb(1, 0, 0)), WidgetFamily::systemMedium,
                                  ColorScheme::dark, fonts(), {.format = Format::png, .scale = scale});
    ASSERT_TRUE(png);
    const testing::Pixels px = testing::Pixels::decode(*png);
    EXPECT_EQ(px.width, static_cast<int>(std::ceil(364 * scale)));
    EXPECT_EQ(px.height, static_cast<int>(std::ceil(170 * scale)));
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
