// Drawing the picker sheet's faces (layout, text, Cairo drawing and PNG encoding, scale 2):
//  - DrawVersusBlank: against encoding blank PNGs of the same sizes, in the same run (goal: at most 4);
//  - LongTextsVersusOrdinary: the same faces over a feed whose every text (units, titles, rooms,
//    names, the week) is 1 MB, against the sample feed's ordinary texts, in the same run (goal: at
//    most 2; prints "RATIO long_text_face_vs_ordinary");
//  - LongTextsBuiltAndDrawn: the same with the faces' view trees built too (a figure without a goal).
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/chosen_face.hpp"
#include "draw/render_commands.hpp"
#include "feed/date_rule.hpp"
#include "render/canvas.hpp"
#include "render/image.hpp"
#include "timeline/sample.hpp"
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

const Date kNow = parseDate("2026-03-02T09:30:00Z").value_or(Date{});

const cli::CommonSettings& settings() {
  static const cli::CommonSettings s{
      .services = Services{.clock = Clock::fixed(kNow), .feed = {}, .timeZone = TimeZone::utc()},
      .locale = "en_US",
      .json = false};
  return s;
}

/// The picker sheet's eight faces over the sample feed, at a fixed instant.
const std::vector<render::PickerFace>& faces() {
  static const std::vector<render::PickerFace> all = [] {
    std::vector<render::PickerFace> out;
    for (const auto& section :
         draw::pickerSections(OstrelWidgets{}.body(), cli::entryFor(settings(), "", true), settings(), 14)) {
      out.insert(out.end(), section.faces.begin(), section.faces.end());
    }
    return out;
  }();
  return all;
}

/// A blank PNG of `width` × `height` points at scale 2: what encoding alone costs.
render::Result<std::string> encodeBlankPng(double width, double height) {
  return render::encodeImage(width, height, {.format = render::Format::png, .scale = 2}, [](cairo_t*) {});
}

void drawFaces() {
  for (const render::PickerFace& face : faces()) {
    auto png = render::renderWidget(face.view, face.family, face.scheme, fonts(), {});
    benchmark::DoNotOptimize(png);
  }
}

void encodeBlanks() {
  for (const render::PickerFace& face : faces()) {
    const render::Canvas c = render::canvasFor(face.family);
    auto png = encodeBlankPng(c.width, c.height);
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

/// `text` repeated (with a space between) to `size` bytes.
std::string longText(const std::string& text, std::size_t size) {
  std::string out;
  out.reserve(size + text.size() + 1);
  while (out.size() < size) {
    out += text;
    out += ' ';
  }
  out.resize(size);
  return out;
}

/// The sample feed with every text `size` bytes long (0: as it is).
Entry entryWithTexts(std::size_t size) {
  Feed feed = Sample::feed(Clock::fixed(kNow));
  if (size > 0) {
    feed.week = longText(feed.week.value_or("Week"), size);
    for (ClassItem& c : *feed.classes) {
      c.unit = longText(c.unit, size);
      c.title = longText(c.title, size);
      c.where = longText(c.where.value_or("Room"), size);
    }
    for (DueItem& d : *feed.due) {
      d.unit = longText(d.unit, size);
      d.name = longText(d.name, size);
    }
  }
  return Entry{.date = kNow, .loaded = Loaded::feed(std::move(feed))};
}

/// Every face of the picker sheet for `entry`, light and dark.
std::vector<render::PickerFace> facesFor(const Entry& entry) {
  std::vector<render::PickerFace> out;
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily family : w.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        out.push_back(
            render::PickerFace{.view = w.content(entry, cli::environmentFor(settings(), family, scheme, 14)),
                               .family = family,
                               .scheme = scheme});
      }
    }
  }
  return out;
}

void draw(const std::vector<render::PickerFace>& all) {
  for (const render::PickerFace& face : all) {
    auto png = render::renderWidget(face.view, face.family, face.scheme, fonts(), {});
    benchmark::DoNotOptimize(png);
  }
}

/// This thread's CPU time: the ratios below are of CPU time, which other work on a shared machine
/// does not inflate.
struct Clock {
  using duration = std::chrono::nanoseconds;
  static std::chrono::nanoseconds now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds{t.tv_sec} + std::chrono::nanoseconds{t.tv_nsec};
  }
};

double ms(Clock::duration d, benchmark::IterationCount n) {
  return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(n);
}

double ratio(Clock::duration a, Clock::duration b) {
  return b.count() > 0 ? static_cast<double>(a.count()) / static_cast<double>(b.count()) : 0;
}

/// Drawing (layout, text, Cairo, PNG) the eight faces with 1 MB texts against ordinary texts.
void LongTextsVersusOrdinary(benchmark::State& state) {
  const std::vector<render::PickerFace> ordinary = facesFor(entryWithTexts(0));
  const std::vector<render::PickerFace> megabyte = facesFor(entryWithTexts(1 << 20));
  Clock::duration shortTexts{}, longTexts{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    draw(ordinary);
    const auto t1 = Clock::now();
    draw(megabyte);
    const auto t2 = Clock::now();
    shortTexts += t1 - t0;
    longTexts += t2 - t1;
  }
  state.counters["ratio"] = ratio(longTexts, shortTexts);
  std::printf(
      "RATIO long_text_face_vs_ordinary %.2f <=2 # drawing eight faces: %.1f ms CPU with 1 MB texts, %.1f ms "
      "ordinary\n",
      ratio(longTexts, shortTexts), ms(longTexts, state.iterations()), ms(shortTexts, state.iterations()));
}
BENCHMARK(LongTextsVersusOrdinary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

/// The same with each face's view tree built as well (the views copy their texts).
void LongTextsBuiltAndDrawn(benchmark::State& state) {
  const Entry ordinary = entryWithTexts(0);
  const Entry megabyte = entryWithTexts(1 << 20);
  Clock::duration shortTexts{}, longTexts{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    draw(facesFor(ordinary));
    const auto t1 = Clock::now();
    draw(facesFor(megabyte));
    const auto t2 = Clock::now();
    shortTexts += t1 - t0;
    longTexts += t2 - t1;
  }
  state.counters["ratio"] = ratio(longTexts, shortTexts);
  std::printf(
      "RATIO long_text_built_and_drawn_vs_ordinary %.2f - # building and drawing eight faces: %.1f ms CPU "
      "with 1 MB texts, %.1f ms ordinary\n",
      ratio(longTexts, shortTexts), ms(longTexts, state.iterations()), ms(shortTexts, state.iterations()));
}
BENCHMARK(LongTextsBuiltAndDrawn)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
