// The provider's timeline: its date logic alone, and the whole request with the file read and decoded.
//
//   timeline_bench                 run the benchmarks, print how time grows from N to 2N classes, then
//                                  measure the peak memory of a request over the stress feed
//   timeline_bench --peak timeline|load FILE
//                                  (used by the above) one request over FILE, or only its loading, in
//                                  a fresh process; prints "<baseline KB> <peak KB> <entries>"
//
// Feeds are generated deterministically: N classes spread over a week around now (so about a sixth of
// their starts and ends fall inside the 24-hour window) and N / 5 deadlines. "realistic" is one
// student's week, 40 classes and 12 deadlines; "stress" is 100,000 classes and 20,000 deadlines.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "cli/options.hpp"
#include "timeline/provider.hpp"
#include "vocabulary.hpp"

namespace {

namespace fs = std::filesystem;
using namespace ostrel;

constexpr Date kNow{1'772'445'630};  // 2026-03-02T10:00:30Z
constexpr int kRealistic = -1;       // the size code of the realistic feed

/// A deterministic feed with `classes` classes and `deadlines` deadlines around `kNow`.
Feed generate(int classes, int deadlines) {
  bench::Lcg next{0x9E3779B97F4A7C15ULL};
  std::vector<ClassItem> cs;
  cs.reserve(static_cast<std::size_t>(classes));
  for (int i = 0; i < classes; ++i) {
    const unsigned u = next() % 6;
    // Whole minutes, a quarter of them off the minute, within three days before and four after now.
    const double start = kNow.sinceEpoch - 3 * 86'400 + (next() % (7 * 1'440)) * 60.0 + (i % 4 == 0 ? 30 : 0);
    cs.push_back(ClassItem{.unit = bench::kUnits[u],
                           .title = bench::kTitles[next() % 5],
                           .where = bench::kRooms[next() % 5],
                           .start = Date{start},
                           .end = Date{start + 3'000},
                           .color = UnitColor{.light = bench::kLight[u], .dark = bench::kDark[u]}});
  }
  std::vector<DueItem> ds;
  ds.reserve(static_cast<std::size_t>(deadlines));
  for (int i = 0; i < deadlines; ++i) {
    const unsigned u = next() % 6;
    ds.push_back(DueItem{.unit = bench::kUnits[u],
                         .name = "Assessment " + std::to_string(i),
                         .due = Date{kNow.sinceEpoch - 2 * 86'400 + (next() % (7 * 1'440)) * 60.0},
                         .weight = static_cast<double>(next() % 60) + 0.5,
                         .color = UnitColor{.light = bench::kLight[u], .dark = bench::kDark[u]}});
  }
  return Feed{.v = 1,
              .enabled = true,
              .at = kNow,
              .week = "Week 10 of 13",
              .classes = std::move(cs),
              .due = std::move(ds),
              .cards = 7};
}

Feed generateSized(int n) {
  return n == kRealistic ? generate(40, 12) : generate(n, n / 5);
}

/// The feed as the host application writes it.
std::string document(const Feed& f) {
  std::string s =
      R"({"v":1,"enabled":true,"at":")" + cli::isoUtc(f.at) + R"(","week":"Week 10 of 13","cards":7,)";
  s += R"("classes":[)";
  for (std::size_t i = 0; i < f.classes->size(); ++i) {
    const ClassItem& c = (*f.classes)[i];
    s += (i ? ",{" : "{");
    s += R"("unit":")" + c.unit + R"(","title":")" + c.title + R"(","where":")" + *c.where +
         R"(","start":")" + cli::isoUtc(c.start) + R"(","end":")" + cli::isoUtc(c.end) +
         R"(","color":{"light":")" + c.color->light + R"(","dark":")" + c.color->dark + R"("}})";
  }
  s += R"(],"due":[)";
  for (std::size_t i = 0; i < f.due->size(); ++i) {
    const DueItem& d = (*f.due)[i];
    s += (i ? ",{" : "{");
    s += R"("unit":")" + d.unit + R"(","name":")" + d.name + R"(","due":")" + cli::isoUtc(d.due) +
         R"(","weight":)" + std::to_string(*d.weight) + R"(,"color":{"light":")" + d.color->light +
         R"(","dark":")" + d.color->dark + R"("}})";
  }
  return s + "]}";
}

fs::path scratch() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("ostrel-timeline-bench-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

/// The feed of size `n` written to a file once; its path.
const fs::path& fileOf(int n) {
  static std::map<int, fs::path> files;
  auto it = files.find(n);
  if (it == files.end()) {
    const fs::path p = scratch() / ("feed-" + std::to_string(n) + ".json");
    std::ofstream(p, std::ios::binary) << document(generateSized(n));
    it = files.emplace(n, p).first;
  }
  return it->second;
}

std::string sizeName(int n) {
  return n == kRealistic ? "realistic" : std::to_string(n);
}

/// The instants a benchmark cycles through. Repeating one request with the very same input lets the
/// branch predictor learn the whole sort of a small timeline, which makes small feeds look far
/// cheaper than any real request (a new now and a new file each time); so each iteration takes the
/// next of 64 instants a little over seven minutes apart.
std::vector<Date> nows() {
  std::vector<Date> out;
  for (int i = 0; i < 64; ++i) out.push_back(kNow + i * 437.25);
  return out;
}

/// The date logic and the entries, over a feed already in memory.
void timelineOf(benchmark::State& state, int n) {
  const Loaded loaded = Loaded::feed(generateSized(n));
  const std::vector<Date> at = nows();
  std::size_t entries = 0, i = 0;
  for (auto _ : state) {
    const Date now = at[i++ % at.size()];
    Timeline<Entry> t = Provider::timeline(now, Date{std::floor(now.sinceEpoch / 60) * 60}, loaded);
    entries = t.entries.size();
    benchmark::DoNotOptimize(t);
  }
  state.counters["entries"] = static_cast<double>(entries);
}

/// The whole request as the host makes it: clock, file read, decode, minute start, dates, entries.
void getTimeline(benchmark::State& state, int n) {
  std::vector<TimelineProviderContext> contexts;
  for (Date now : nows()) {
    contexts.push_back({.isPreview = false,
                        .services = Services{.clock = Clock::fixed(now),
                                             .feed = fileOf(n),
                                             .timeZone = TimeZone::named("Australia/Sydney")}});
  }
  std::size_t entries = 0, i = 0;
  for (auto _ : state) {
    Provider{}.getTimeline(contexts[i++ % contexts.size()], [&](const Timeline<Entry>& t) {
      entries = t.entries.size();
      benchmark::DoNotOptimize(t.entries.data());
    });
  }
  state.counters["entries"] = static_cast<double>(entries);
  state.counters["file_bytes"] = static_cast<double>(fs::file_size(fileOf(n)));
}

/// Keeps each benchmark's CPU time per iteration (steadier than wall time on a shared machine), for
/// the ratios printed at the end.
class Collecting : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
        seconds[r.benchmark_name()] = r.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

long maxRssKb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

/// In this (fresh) process, one request over `file` (`what` = "timeline") or only the loading of the
/// feed (`what` = "load"); prints the baseline and peak resident sizes and the number of entries.
int peak(const std::string& what, const char* file) {
  const long baseline = maxRssKb();
  const TimelineProviderContext context{
      .isPreview = false,
      .services = Services{
          .clock = Clock::fixed(kNow), .feed = file, .timeZone = TimeZone::named("Australia/Sydney")}};
  Timeline<Entry> kept;
  if (what == "load") {
    kept.entries.push_back(Entry{.date = kNow, .loaded = context.services.load()});
  } else {
    Provider{}.getTimeline(context, [&](Timeline<Entry> t) { kept = std::move(t); });
  }
  std::printf("%ld %ld %zu\n", baseline, maxRssKb(), kept.entries.size());
  return kept.entries.empty() || kept.entries.front().loaded.which() != Loaded::Case::feed ? 1 : 0;
}

struct Peak {
  long baselineKb = 0;
  long peakKb = 0;
  std::size_t entries = 0;
  bool ok = false;
};

Peak measure(const std::string& what, const fs::path& file) {
  const std::string command =
      "'" + fs::read_symlink("/proc/self/exe").string() + "' --peak " + what + " '" + file.string() + "'";
  Peak p;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return p;
  const bool read = std::fscanf(pipe, "%ld %ld %zu", &p.baselineKb, &p.peakKb, &p.entries) == 3;
  p.ok = ::pclose(pipe) == 0 && read;
  return p;
}

/// Runs a stress request in a child process and reports it against 3 × file + 30 MB, with the share
/// of loading the feed alone.
void reportPeak() {
  const fs::path stress = scratch() / "stress.json";
  std::ofstream(stress, std::ios::binary) << document(generate(100'000, 20'000));
  const double mb = 1024.0 * 1024.0;
  const double fileMb = static_cast<double>(fs::file_size(stress)) / mb;
  const Peak whole = measure("timeline", stress);
  const Peak load = measure("load", stress);
  if (!whole.ok || !load.ok) {
    std::printf("\nStress timeline peak memory: the measuring process failed\n");
    return;
  }
  const auto inMb = [](long kb) { return static_cast<double>(kb) / 1024.0; };
  const double limitMb = 3 * fileMb + 30;
  std::printf(
      "\nStress timeline (100,000 classes, 20,000 deadlines, %zu entries): peak resident %.1f MB "
      "(%.1f MB above the process's start), feed file %.1f MB, goal <= 3 x file + 30 MB = %.1f MB: %s\n"
      "  loading the feed alone peaks at %.1f MB; the timeline adds %.1f MB to that peak\n",
      whole.entries, inMb(whole.peakKb), inMb(whole.peakKb - whole.baselineKb), fileMb, limitMb,
      inMb(whole.peakKb) <= limitMb ? "met" : "NOT met", inMb(load.peakKb), inMb(whole.peakKb - load.peakKb));
  std::printf("RATIO stress_timeline_peak_mb %.1f <=%.1f # 3 x %.1f MB file + 30 MB\n", inMb(whole.peakKb),
              limitMb, fileMb);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return peak(argv[2], argv[3]);

  // glibc serves a large block from fresh pages (mmap) only above a threshold that it raises to the
  // size of each large block freed, up to 32 MB; below that a repeated request reuses pages already
  // mapped and pays no first-touch cost. Sizes would then be measured in two regimes (feeds up to a
  // few MB warm, larger ones cold), a step that is the allocator's, not the request's. Fixing the
  // threshold puts every size in the regime of a fresh host process: large buffers first-touched.
  (void)mallopt(M_MMAP_THRESHOLD, 64 * 1024);

  const std::vector<int> sizes{1'000, 2'000, 10'000, 20'000, 100'000, 200'000};
  benchmark::RegisterBenchmark("timeline/realistic", timelineOf, kRealistic)->Unit(benchmark::kMicrosecond);
  for (int n : sizes) {
    benchmark::RegisterBenchmark(("timeline/" + sizeName(n)).c_str(), timelineOf, n)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("getTimeline/realistic", getTimeline, kRealistic)
      ->Unit(benchmark::kMicrosecond);
  for (int n : sizes) {
    benchmark::RegisterBenchmark(("getTimeline/" + sizeName(n)).c_str(), getTimeline, n)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  Collecting reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nTime for 2N classes over time for N (goal <= 2.3):\n");
  for (const std::string kind : {"timeline", "getTimeline"}) {
    for (int n : {1'000, 10'000, 100'000}) {
      const auto& t = reporter.seconds;
      const std::string a = kind + "/" + std::to_string(n), b = kind + "/" + std::to_string(2 * n);
      if (!t.count(a) || !t.count(b) || t.at(a) <= 0) continue;
      std::printf("  %-12s N = %-7d %.2f\n", kind.c_str(), n, t.at(b) / t.at(a));
    }
  }
  reportPeak();
  std::error_code ec;
  fs::remove_all(scratch(), ec);
  benchmark::Shutdown();
  return 0;
}
