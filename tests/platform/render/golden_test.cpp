// Drawn faces compared with the PNGs under tests/golden/png, pixel by pixel with a tolerance (fonts
// and Cairo versions move anti-aliased edges a little). UPDATE_GOLDEN=1 rewrites the files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "components/note.hpp"
#include "faces.hpp"
#include "feed/date_rule.hpp"
#include "pixels.hpp"
#include "platform/render/render.hpp"
#include "timeline/sample.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::render {
namespace {

/// At most this share of pixels may differ by more than the channel threshold of `differingShare`.
constexpr double kTolerance = 0.003;

struct Golden {
  std::string name;
  View view;
  WidgetFamily family;
  ColorScheme scheme;
};

Environment env(WidgetFamily family, ColorScheme scheme, int macos) {
  Environment e;
  e.widgetFamily = family;
  e.colorScheme = scheme;
  e.systemVersion = SystemVersion{macos, 0, 0};
  return e;
}

std::vector<Golden> goldens() {
  std::vector<Golden> out;
  // The gallery's faces: every widget in every family it offers, both schemes, over the sample feed.
  const Date now = parseDate("2026-03-02T09:30:00Z").value_or(Date{});
  const Entry entry{.date = now, .loaded = Loaded::feed(Sample::feed(Clock::fixed(now)))};
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily family : w.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        Environment e = env(family, scheme, 14);
        e.locale = "en_US";
        e.timeZone = "UTC";
        out.push_back(
            {w.kind + "-" + name(family) + "-" + name(scheme), w.content(entry, e), family, scheme});
      }
    }
  }
  for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    const std::string s = name(scheme);
    for (int macos : {13, 14}) {
      const Environment e = env(WidgetFamily::systemSmall, scheme, macos);
      out.push_back({"column-small-" + s + "-macos" + std::to_string(macos),
                     face(e, "Introduction to statistical inference", "in 11 h 59 min 59 s"),
                     WidgetFamily::systemSmall, scheme});
    }
    const Environment medium = env(WidgetFamily::systemMedium, scheme, 14);
    out.push_back(
        {"note-medium-" + s,
         ostrelBackground(Group({Note{.heading = "Due soon", .loaded = Loaded::off()}.view(medium)}), medium),
         WidgetFamily::systemMedium, scheme});
  }
  return out;
}

std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(Golden, FacesMatchTheirPngs) {
  const auto fonts = PangoMeasurer::create();
  ASSERT_TRUE(fonts) << fonts.error().message;
  const bool update =
      std::getenv("UPDATE_GOLDEN") != nullptr && std::string(std::getenv("UPDATE_GOLDEN")) == "1";
  for (const Golden& g : goldens()) {
    const auto png = renderWidget(g.view, g.family, g.scheme, *fonts, {.format = Format::png, .scale = 2});
    ASSERT_TRUE(png) << png.error().message;
    const std::string path = std::string(OSTREL_SOURCE_DIR) + "/tests/golden/png/" + g.name + ".png";
    if (update) {
      ASSERT_TRUE(writeFile(path, *png)) << path;
      continue;
    }
    const testing::Pixels expected = testing::Pixels::decode(slurp(path));
    ASSERT_FALSE(expected.data.empty()) << path << " is missing; run with UPDATE_GOLDEN=1 to create it";
    const double share = testing::differingShare(testing::Pixels::decode(*png), expected);
    EXPECT_LE(share, kTolerance) << g.name << ": " << share * 100 << "% of pixels differ";
  }
}

}  // namespace
}  // namespace ostrel::render
