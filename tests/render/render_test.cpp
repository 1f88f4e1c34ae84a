#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "components/code.hpp"
#include "components/ground.hpp"
#include "components/heading.hpp"
#include "components/note.hpp"
#include "components/palette.hpp"
#include "faces.hpp"
#include "feed/date_rule.hpp"
#include "feed/decoder.hpp"
#include "fonts.hpp"
#include "pixels.hpp"
#include "render/canvas.hpp"
#include "render/image.hpp"
#include "render/text.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::render {
namespace {

using layout::infinity;
using layout::Placed;
using layout::Rect;
using layout::TextStyle;

Environment env(ColorScheme scheme, int macos = 14, WidgetFamily family = WidgetFamily::systemSmall) {
  Environment e;
  e.colorScheme = scheme;
  e.widgetFamily = family;
  e.systemVersion = SystemVersion{macos, 0, 0};
  return e;
}

TEST(Fonts, AMissingFamilyIsAnErrorValue) {
  const auto missing =
      PangoMeasurer::create(FontFamilies{.system = "No Such Family", .monospaced = "JetBrains Mono"});
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().kind, RenderError::Kind::missingFont);
  EXPECT_EQ(missing.error().message, "font not found: No Such Family 400");
  const auto mono = PangoMeasurer::create(FontFamilies{.system = "Inter", .monospaced = "No Such Mono"});
  ASSERT_FALSE(mono);
  EXPECT_EQ(mono.error().message, "font not found: No Such Mono");
}

TEST(Fonts, TabularDigitsHaveOneWidth) {
  const TextStyle plain{.font = Font::system(20, Font::Weight::medium)};
  TextStyle tabular = plain;
  tabular.monospacedDigit = true;
  const auto width = [](const std::string& s, const TextStyle& st) {
    return fonts().measure(s, st, 1, std::nullopt, 1).width;
  };
  EXPECT_NE(width("111", plain), width("888", plain));
  EXPECT_DOUBLE_EQ(width("111", tabular), width("888", tabular));
}

TEST(Fonts, TrackingWidensAndMarkupIsShownAsText) {
  const TextStyle plain{.font = Font::system(10, Font::Weight::semibold)};
  TextStyle tracked = plain;
  tracked.tracking = 0.6;
  EXPECT_GT(fonts().measure("NEXT UP", tracked, 1, std::nullopt, 1).width,
            fonts().measure("NEXT UP", plain, 1, std::nullopt, 1).width + 3);
  // "<b>x</b>" is eight characters wide, not a bold x.
  EXPECT_GT(fonts().measure("<b>x</b>", plain, 1, std::nullopt, 1).width,
            5 * fonts().measure("x", plain, 1, std::nullopt, 1).width);
}

std::string repeat(const std::string& s, std::size_t characters) {
  std::string out;
  while (out.size() < characters) out += s;
  return out;
}

const std::vector<std::string>& hardTitles() {
  static const std::vector<std::string> titles = {
      repeat("Introduction to statistical inference ", 200).substr(0, 200),
      repeat("مقدمة في الإحصاء التطبيقي ", 200),
      repeat("📚🧪 Lab prep 🎓 ", 120),
      repeat("W", 200),
  };
  return titles;
}

TEST(Fonts, OneLineTextsNeverExceedTheirWidthAndShrinkNoFurtherThanTheFactor) {
  for (const std::string& title : hardTitles()) {
    for (double width : {8.0, 40.0, 138.0, 332.0}) {
      TextStyle style{
          .font = Font::system(20, Font::Weight::medium), .lineLimit = 1, .minimumScaleFactor = 0.7};
      const layout::TextFit fit = layout::fitText(fonts(), title, style, width);
      EXPECT_LE(fit.size.width, width) << title;
      EXPECT_GE(fit.scale, 0.7);
      const double oneLine = fonts().measure("Ag", style, fit.scale, std::nullopt, 1).height;
      EXPECT_NEAR(fit.size.height, oneLine, 0.5) << title;
    }
  }
}

void expectTextsInside(const Placed& p, const Rect& area) {
  if (p.kind == Placed::Kind::text) {
    EXPECT_GE(p.frame.x, area.x - 1e-6) << p.text;
    EXPECT_LE(p.frame.maxX(), area.maxX() + 1e-6) << p.text;
  }
  for (const Placed& c : p.children) expectTextsInside(c, area);
}

/// A feed whose titles, rooms and names are the hard cases, for the real faces. Built by appending
/// (g++ 12 warns falsely, -Wrestrict, about chained concatenation onto a temporary at -O3).
std::string hardFeed() {
  std::string classes, due;
  int i = 0;
  for (const std::string& title : hardTitles()) {
    const std::string n = std::to_string(i++);
    const std::string day = "2026-03-0" + std::to_string(2 + i);
    for (const std::string_view piece :
         {std::string_view{classes.empty() ? "" : ","}, std::string_view{R"({"unit":"UNIT100)"},
          std::string_view{n}, std::string_view{R"(","title":")"}, std::string_view{title},
          std::string_view{R"(","where":")"}, std::string_view{title}, std::string_view{R"(","start":")"},
          std::string_view{day}, std::string_view{R"(T09:00:00Z","end":")"}, std::string_view{day},
          std::string_view{R"(T10:00:00Z"})"}}) {
      classes += piece;
    }
    for (const std::string_view piece :
         {std::string_view{due.empty() ? "" : ","}, std::string_view{R"({"unit":"UNIT100)"},
          std::string_view{n}, std::string_view{R"(","name":")"}, std::string_view{title},
          std::string_view{R"(","due":")"}, std::string_view{day},
          std::string_view{R"(T08:00:00Z","weight":12.5})"}}) {
      due += piece;
    }
  }
  std::string out = R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z","week":")";
  out += hardTitles()[0];
  out += R"(","cards":3,"classes":[)";
  out += classes;
  out += "],\"due\":[";
  out += due;
  out += "]}";
  return out;
}

TEST(Layout, FacesKeepHardTextsInsideTheirWidget) {
  const auto feed = decodeFeed(hardFeed());
  ASSERT_TRUE(feed) << feed.error().path << ": " << message(feed.error());
  const Entry entry{.date = parseDate("2026-03-02T09:00:00Z").value_or(Date{}),
                    .loaded = Loaded::feed(*feed)};
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily family : w.families) {
      const Canvas c = canvasFor(family);
      for (int macos : {13, 14}) {
        const Placed placed = layout::layoutWidget(w.content(entry, env(ColorScheme::dark, macos, family)),
                                                   Rect{0, 0, c.width, c.height}, c.margin, fonts());
        SCOPED_TRACE(w.kind + " " + name(family) + " macOS " + std::to_string(macos));
        expectTextsInside(placed, Rect{16, 16, c.width - 32, c.height - 32});
      }
    }
  }
}

TEST(Layout, ACountdownShrinksBeforeItIsCut) {
  const Environment e = env(ColorScheme::light);
  const auto countdownOf = [&](const std::string& countdown) {
    const Placed w = layout::layoutWidget(face(e, "Algebra", countdown), Rect{0, 0, 170, 170}, 16, fonts());
    const Placed* found = nullptr;
    const std::function<void(const Placed&)> walk = [&](const Placed& p) {
      if (p.kind == Placed::Kind::text && p.text == countdown) found = &p;
      for (const Placed& c : p.children) walk(c);
    };
    walk(w);
    return found ? found->fit : layout::TextFit{};
  };
  EXPECT_DOUBLE_EQ(countdownOf("in 5 min").scale, 1);
  const layout::TextFit shrunk = countdownOf("in 11 h 59 min 59 s");
  EXPECT_LT(shrunk.scale, 1);
  EXPECT_GE(shrunk.scale, 0.7);
  EXPECT_FALSE(shrunk.width);  // shrunk, not cut
  const layout::TextFit cut = countdownOf("Wednesday 11:59 in the morning");
  EXPECT_DOUBLE_EQ(cut.scale, 0.7);
  EXPECT_TRUE(cut.width);
}

TEST(Files, FormatsByExtension) {
  const std::vector<std::pair<std::string, std::optional<Format>>> rows = {
      {"a.png", Format::png}, {"out/A.SVG", Format::svg},  {"a.jpg", std::nullopt},
      {"png", std::nullopt},  {"dir.png/x", std::nullopt}, {"a.png.txt", std::nullopt}};
  for (const auto& [path, format] : rows) EXPECT_EQ(formatFor(path), format) << path;
}

TEST(Drawing, CanvasSizesCornersAndTheWash) {
  for (auto [family, w, h] :
       {std::tuple{WidgetFamily::systemSmall, 340, 340}, std::tuple{WidgetFamily::systemMedium, 728, 340},
        std::tuple{WidgetFamily::systemLarge, 728, 764}}) {
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      const Environment e = env(scheme, 14, family);
      const auto png = renderWidget(Ground{}.view(e), family, scheme, fonts(), {});
      ASSERT_TRUE(png);
      const testing::Pixels px = testing::Pixels::decode(*png);
      ASSERT_EQ(px.width, w);
      ASSERT_EQ(px.height, h);
      EXPECT_EQ(px.at(0, 0).a, 0);  // outside the rounded corner
      const Color plate = scheme == ColorScheme::dark ? Ground::darkPlate : Ground::lightPlate;
      // Beyond 220 points from the top-right corner only the plate shows.
      const testing::Pixel far = px.at(30, h - 30);
      if (family != WidgetFamily::systemSmall) {
        EXPECT_NEAR(far.r, plate.red * 255, 1.5);
        EXPECT_NEAR(far.g, plate.green * 255, 1.5);
        EXPECT_NEAR(far.b, plate.blue * 255, 1.5);
      }
      // Near the corner the wash tints the plate towards the accent.
      const testing::Pixel near = px.at(w - 40, 40);
      EXPECT_GT(near.r - near.g, far.r - far.g + 5);
    }
  }
}

TEST(Drawing, SecondaryTextIsLighterThanPrimary) {
  for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    const View v =
        VStack(HorizontalAlignment::leading, 0,
               {Text::verbatim("████").font(Font::system(30)),
                Text::verbatim("████").font(Font::system(30)).foregroundStyle(Style::secondary())})
            .frame(infinity, infinity, Alignment::topLeading)
            .padding()
            .background(ColorView(scheme == ColorScheme::dark ? Ground::darkPlate : Ground::lightPlate));
    const auto png =
        renderWidget(v, WidgetFamily::systemSmall, scheme, fonts(), {.format = Format::png, .scale = 1});
    ASSERT_TRUE(png);
    const testing::Pixels px = testing::Pixels::decode(*png);
    const Placed placed = layout::layoutWidget(v, Rect{0, 0, 170, 170}, 16, fonts());
    const Rect first = placed.children[0].children[0].frame, second = placed.children[0].children[1].frame;
    const auto mid = [&](const Rect& r) {
      return px.at(static_cast<int>(r.x + 10), static_cast<int>(r.y + r.height / 2));
    };
    const int plate = mid(Rect{100, 140, 1, 1}).g;
    EXPECT_GT(std::abs(mid(first).g - plate), std::abs(mid(second).g - plate) + 40);
  }
}

TEST(Drawing, SvgIsWellFormedXml) {
  const auto svg =
      renderWidget(face(env(ColorScheme::dark), "R&D <intro> \"quoted\""), WidgetFamily::systemSmall,
                   ColorScheme::dark, fonts(), {.format = Format::svg, .scale = 2});
  ASSERT_TRUE(svg);
  const std::string path = ::testing::TempDir() + "face.svg";
  std::ofstream(path, std::ios::binary) << *svg;
  EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0);
}

}  // namespace
}  // namespace ostrel::render
