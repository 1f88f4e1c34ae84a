// Drawn faces compared with the PNGs under tests/golden/png, pixel by pixel with a tolerance (fonts
// and Cairo versions move anti-aliased edges a little). A face that differs leaves what it drew
// beside its golden file ("NAME.actual.png"); UPDATE_GOLDEN=1 rewrites the golden files instead.
#include "support/golden.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "components/note.hpp"
#include "faces.hpp"
#include "feed/date_rule.hpp"
#include "fonts.hpp"
#include "pixels.hpp"
#include "render/image.hpp"
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
        e.timeZone = TimeZone::utc();
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

void PrintTo(const Golden& g, std::ostream* os) {
  *os << g.name;
}

class GoldenPngs : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenPngs, MatchTheReviewedImage) {
  const Golden& g = GetParam();
  const auto png = renderWidget(g.view, g.family, g.scheme, fonts(), {.format = Format::png, .scale = 2});
  ASSERT_TRUE(png) << png.error().message;
  const std::filesystem::path path = test_support::goldenPath("png/" + g.name + ".png");
  const std::filesystem::path actual = test_support::actualPath(path);
  if (test_support::updatingGoldens()) {
    ASSERT_TRUE(test_support::writeBytes(path, *png)) << path;
    GTEST_SKIP() << "rewrote " << path;
  }
  const testing::Pixels expected = testing::Pixels::decode(test_support::readBytes(path).value_or(""));
  const double share = testing::differingShare(testing::Pixels::decode(*png), expected);
  if (share <= kTolerance) {
    std::filesystem::remove(actual);
    return;
  }
  ASSERT_TRUE(test_support::writeBytes(actual, *png)) << actual;
  ADD_FAILURE() << (expected.data.empty() ? "no golden image " + path.string() + " (run with UPDATE_GOLDEN=1)"
                                          : std::to_string(share * 100) + "% of the pixels differ")
                << "; the face as drawn is in " << actual;
}

INSTANTIATE_TEST_SUITE_P(Faces, GoldenPngs, ::testing::ValuesIn(goldens()), [](const auto& param) {
  std::string n = param.param.name;
  std::replace(n.begin(), n.end(), '-', '_');
  return n;
});

}  // namespace
}  // namespace ostrel::render
