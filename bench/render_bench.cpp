// Drawing the gallery's faces (layout, text, Cairo drawing and PNG encoding, scale 2) against
// encoding blank PNGs of the same sizes. DrawVersusBlank times both in the same run and reports
// their ratio (goal: at most 4).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "cli/face.hpp"
#include "cli/render_commands.hpp"
#include "feed/date_rule.hpp"
#include "platform/render/render.hpp"
#include "widgets/widgets.hpp"

namespace {

using namespace ostrel;

const render::PangoMeasurer& fonts() {
  static const render::PangoMeasurer measurer = [] {
    auto m = render::PangoMeasurer::create();
    if (!m) std::abort();
    return *m;
  }();
  return measurer;
}

/// The gallery's eight faces over the sample feed, at a fixed instant.
const std::vector<render::GalleryItem>& faces() {
  static const std::vector<render::GalleryItem> items = [] {
    const Date now = parseDate("2026-03-02T09:30:00Z").value_or(Date{});
    const cli::HostSettings settings{.host = Host{.clock = Clock::fixed(now), .feed = {}, .timeZone = "UTC"},
                                     .locale = "en_US",
                                     .json = false};
    return cli::galleryFaces(OstrelWidgets{}.body(), cli::entryFor(settings, "", true), settings, 14);
  }();
  return items;
}

void drawFaces() {
  for (const render::GalleryItem& item : faces()) {
    auto png = render::renderWidget(item.view, item.family, item.scheme, fonts(), {});
    benchmark::DoNotOptimize(png);
  }
}

void encodeBlanks() {
  for (const render::GalleryItem& item : faces()) {
    const render::Canvas c = render::canvasFor(item.family);
    auto png = render::encodeBlankPng(c.width, c.height, 2);
    benchmark::DoNotOptimize(png);
  }
}

void DrawFaces(benchmark::State& state) {
  for (auto _ : state) drawFaces();
  state.counters["faces"] = static_cast<double>(faces().size());
}
BENCHMARK(DrawFaces)->Unit(benchmark::kMillisecond);

void EncodeBlankPngs(benchmark::State& state) {
  for (auto _ : state) encodeBlanks();
}
BENCHMARK(EncodeBlankPngs)->Unit(benchmark::kMillisecond);

void DrawVersusBlank(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Clock::duration drawing{}, blank{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    drawFaces();
    const auto t1 = Clock::now();
    encodeBlanks();
    const auto t2 = Clock::now();
    drawing += t1 - t0;
    blank += t2 - t1;
  }
  state.counters["ratio"] =
      blank.count() > 0 ? static_cast<double>(drawing.count()) / static_cast<double>(blank.count()) : 0;
}
BENCHMARK(DrawVersusBlank)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
