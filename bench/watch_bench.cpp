// The engine of `ostrel-widgets watch` over simulated time, at the fastest clock, with the example
// feed and the four default faces. Each part runs in a fresh process of its own and prints its
// figures as RATIO lines (bench/report.sh):
//
//   watch_wakes_vs_expected       wakes over a day / (distinct entry dates it showed + reloads)  ==1
//   watch_day_cpu_vs_render_loop  CPU of a day with PNG files / drawing the four faces at every
//                                 entry date, as `render` would, in one process                 <=1
//   watch_day_cpu_vs_changed_only the same against drawing only the faces that changed (what the
//                                 engine's own bookkeeping costs on top)                          -
//   watch_week_rss_vs_first_hour  peak RSS after a week / after the first hour                  <=1.05
//
// Google Benchmark's options (which the report passes) are accepted and ignored.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/atomic_file.hpp"
#include "engine/engine.hpp"
#include "feed/date_rule.hpp"
#include "png/png_dir_output.hpp"
#include "render/image.hpp"
#include "render/text.hpp"
#include "timeline/provider.hpp"
#include "widgets/widgets.hpp"

namespace {

using namespace ostrel;

const std::filesystem::path kFeed = OSTREL_SOURCE_DIR "/examples/widget.json";
constexpr const char* kZone = "Australia/Sydney";
constexpr double kDay = 86'400;

/// Half a minute after the feed was written: the morning before its first class.
Date start() {
  return parseDate("2026-03-02T08:15:30+11:00").value_or(Date{});
}

std::vector<ShownWidget> defaultFaces() {
  std::vector<ShownWidget> out;
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    for (WidgetFamily f : w.families) out.push_back(ShownWidget{.widget = w, .family = f});
  }
  return out;
}

EngineSettings settings(double seconds) {
  return EngineSettings{.feed = kFeed,
                        .timeZone = TimeZone::named(kZone),
                        .locale = "en_AU",
                        .until = start() + seconds,
                        .system = {}};
}

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double peakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

render::PangoMeasurer fonts() {
  auto m = render::PangoMeasurer::create();
  if (!m) {
    std::fprintf(stderr, "watch_bench: %s\n", m.error().message.c_str());
    std::exit(1);
  }
  return *m;
}

std::filesystem::path scratch() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-watch-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::exit(1);
  return pattern;
}

/// The entries a host shows over [start, start + seconds): every timeline from the start and from
/// each reload instant on, each entry until the next timeline. Their dates, and how many timelines.
struct Shown {
  std::vector<Entry> entries;  ///< in order, the first of each timeline included
  std::size_t timelines = 0;
};
Shown shownOver(double seconds) {
  Shown out;
  const Date until = start() + seconds;
  for (Date at = start(); at < until;) {
    Timeline<Entry> t;
    Provider{}.getTimeline(
        {.isPreview = false,
         .services = Services{.clock = Clock::fixed(at), .feed = kFeed, .timeZone = TimeZone::named(kZone)}},
        [&](Timeline<Entry> made) { t = std::move(made); });
    ++out.timelines;
    for (const Entry& e : t.entries) {
      if (!(e.date < t.policy.at) || !(e.date < until)) break;
      out.entries.push_back(e);
    }
    at = t.policy.at;
  }
  return out;
}

/// Counts what it is shown.
class Counter : public FaceOutput {
 public:
  void show(const Face& face) override { faces.push_back(face); }
  std::vector<Face> faces;
};

void wakes() {
  Engine engine(defaultFaces(), settings(kDay), EngineClock::fastest(start()));
  engine.run();
  const Shown shown = shownOver(kDay);
  // The first entry of each timeline is dated at its request: the start, or a reload's wake.
  std::set<double> dates;
  for (const Entry& e : shown.entries) dates.insert(e.date.sinceEpoch);
  const std::size_t reloads = shown.timelines - 1;
  const std::size_t entryDates = dates.size() - shown.timelines;
  const auto wakes = engine.stats().wakes;
  std::printf(
      "RATIO watch_wakes_vs_expected %.4f ==1 # %zu wakes; %zu entry dates + %zu reloads (%zu requests "
      "with the first)\n",
      static_cast<double>(wakes) / static_cast<double>(entryDates + reloads), wakes, entryDates, reloads,
      shown.timelines);
}

/// `w`'s face for `entry`, in the zone and locale the engine runs in here.
Face faceOf(const ShownWidget& w, Entry entry) {
  return Face{.kind = w.widget.kind,
              .family = w.family,
              .entry = std::move(entry),
              .timeZone = TimeZone::named(kZone),
              .locale = "en_AU",
              .content = w.widget.content,
              .shortState = w.widget.shortState};
}

/// The watch command's PNG folder output at its default scale; a failure to write ends the benchmark.
PngDirOutput pngsIn(const std::filesystem::path& dir, const render::PangoMeasurer& text) {
  const auto fail = [](const std::string& why) {
    std::fprintf(stderr, "watch_bench: %s\n", why.c_str());
    std::exit(1);
  };
  return PngDirOutput(dir, 2, ColorScheme::light, text, fail, fail);
}

void renderFace(const Face& face, const render::PangoMeasurer& text, const std::filesystem::path& dir) {
  const auto png = render::renderWidget(face.view(ColorScheme::light), face.family, ColorScheme::light, text,
                                        {.format = render::Format::png, .scale = 2});
  if (!png) std::exit(1);
  if (!AtomicFile::write(PngDirOutput::fileFor(dir, face.kind, face.family), *png, AtomicFile::Sync::visible,
                         AtomicFile::Links::replace)) {
    std::exit(1);
  }
}

void dayCost() {
  const std::filesystem::path dir = scratch();
  const render::PangoMeasurer text = fonts();
  // Warm the fonts and the string table once, for both sides alike.
  const std::vector<ShownWidget> widgets = defaultFaces();
  for (const ShownWidget& w : widgets) {
    renderFace(faceOf(w, Entry{.date = start(), .loaded = Loaded::off()}), text, dir);
  }

  double t0 = cpuSeconds();
  Engine engine(widgets, settings(kDay), EngineClock::fastest(start()));
  PngDirOutput pngs = pngsIn(dir, text);
  Counter changed;
  engine.subscribe(pngs);
  engine.subscribe(changed);
  engine.run();
  const double engineCpu = cpuSeconds() - t0;

  const Shown shown = shownOver(kDay);
  t0 = cpuSeconds();
  std::size_t drawn = 0;
  for (const Entry& e : shown.entries) {
    for (const ShownWidget& w : widgets) {
      renderFace(faceOf(w, e), text, dir);
      ++drawn;
    }
  }
  const double everyEntryCpu = cpuSeconds() - t0;

  t0 = cpuSeconds();
  for (const Face& f : changed.faces) renderFace(f, text, dir);
  const double changedCpu = cpuSeconds() - t0;

  std::printf(
      "RATIO watch_day_cpu_vs_render_loop %.3f <=1 # engine %.2f s CPU for %zu faces drawn; drawing the "
      "four faces at each of %zu entries: %zu faces, %.2f s\n",
      engineCpu / everyEntryCpu, engineCpu, changed.faces.size(), shown.entries.size(), drawn, everyEntryCpu);
  std::printf("RATIO watch_day_cpu_vs_changed_only %.3f - # drawing only the %zu changed faces: %.2f s\n",
              engineCpu / changedCpu, changed.faces.size(), changedCpu);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

/// Notes the peak RSS when the first face dated an hour after the start is shown.
class RssProbe : public FaceOutput {
 public:
  void show(const Face& face) override {
    if (!atHour && !(face.entry.date < start() + 3600)) atHour = peakRssMb();
  }
  std::optional<double> atHour;
};

void weekMemory() {
  const std::filesystem::path dir = scratch();
  Engine engine(defaultFaces(), settings(7 * kDay), EngineClock::fastest(start()));
  PngDirOutput pngs = pngsIn(dir, fonts());
  RssProbe probe;
  engine.subscribe(probe);
  engine.subscribe(pngs);
  engine.run();
  const double week = peakRssMb();
  const double hour = probe.atHour.value_or(week);
  std::printf(
      "RATIO watch_week_rss_vs_first_hour %.4f <=1.05 # peak RSS %.1f MB after a week, %.1f MB after the "
      "first hour; %zu wakes, %zu faces\n",
      week / hour, week, hour, engine.stats().wakes, engine.stats().facesShown);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

/// Runs `part` in a child process, so that each measures a fresh process.
int inChild(void (*part)()) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    part();
    std::fflush(stdout);
    std::_Exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

/// With no argument (or only Google Benchmark's options), every part; else the parts named:
/// wakes, day, week.
int main(int argc, char** argv) {
  const std::map<std::string, void (*)()> parts{{"wakes", wakes}, {"day", dayCost}, {"week", weekMemory}};
  std::vector<void (*)()> chosen;
  for (int i = 1; i < argc; ++i) {
    if (const auto p = parts.find(argv[i]); p != parts.end()) chosen.push_back(p->second);
  }
  if (chosen.empty()) chosen = {wakes, dayCost, weekMemory};
  int failed = 0;
  for (void (*part)() : chosen) failed |= inChild(part);
  return failed;
}
