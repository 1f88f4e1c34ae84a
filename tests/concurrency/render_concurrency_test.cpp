// Faces drawn on many threads at once, each thread with a text measurer of its own, come out pixel
// for pixel as when drawn on one thread. (A measurer is not shared between threads: Pango's contexts
// and font maps keep caches that are not safe to use from two threads at once.)
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "render/image.hpp"
#include "timeline/sample.hpp"
#include "together.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

constexpr int kThreads = 8;
constexpr Date kNow{1'772'445'630};  // 2026-03-02T10:00:30Z

struct Face {
  View view;
  WidgetFamily family;
  ColorScheme scheme;
};

/// Every face of the sample feed's entry now and an hour later, light and dark.
std::vector<Face> faces() {
  const Loaded loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)));
  std::vector<Face> out;
  for (Date at : {kNow, kNow + 3'600}) {
    const Entry entry{.date = at, .loaded = loaded};
    for (const WidgetConfiguration& widget : OstrelWidgets{}.body()) {
      for (WidgetFamily family : widget.families) {
        for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
          const Environment env{.widgetFamily = family,
                                .colorScheme = scheme,
                                .systemVersion = {},
                                .locale = "en_US",
                                .timeZone = TimeZone::utc()};
          out.push_back(Face{widget.content(entry, env), family, scheme});
        }
      }
    }
  }
  return out;
}

std::vector<std::string> draw(const std::vector<Face>& all, const render::PangoMeasurer& fonts) {
  std::vector<std::string> pngs;
  for (const Face& f : all) {
    auto png =
        render::renderWidget(f.view, f.family, f.scheme, fonts, {.format = render::Format::png, .scale = 1});
    pngs.push_back(png ? *png : std::string{});
  }
  return pngs;
}

TEST(RenderConcurrency, FacesDrawnInParallelEqualThoseDrawnInTurn) {
  const std::vector<Face> all = faces();
  std::vector<std::string> expected;
  {
    const auto fonts = render::PangoMeasurer::create();
    ASSERT_TRUE(fonts) << fonts.error().message;
    expected = draw(all, *fonts);
  }
  for (const std::string& png : expected) ASSERT_FALSE(png.empty());

  std::atomic<int> failed{0}, differing{0};
  test_support::together(kThreads, [&](int) {
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) {
      ++failed;
      return;
    }
    if (draw(all, *fonts) != expected) ++differing;
  });
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace ostrel
