// Printing view trees: the text and JSON dumps of every declared face (each widget in each family
// it offers, both schemes) over the sample feed at a fixed instant.
#include <benchmark/benchmark.h>

#include <vector>

#include "timeline/sample.hpp"
#include "ui/json_dump.hpp"
#include "ui/text_dump.hpp"
#include "widgets/widgets.hpp"

namespace {

using namespace ostrel;

const std::vector<View>& faces() {
  static const std::vector<View> all = [] {
    const Date now{1'772'445'600};  // Monday 2026-03-02T10:00:00Z
    const Entry entry{.date = now, .loaded = Loaded::feed(Sample::feed(Clock::fixed(now)))};
    std::vector<View> out;
    for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
      for (WidgetFamily family : w.families) {
        for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
          const Environment env{.widgetFamily = family,
                                .colorScheme = scheme,
                                .systemVersion = {},
                                .locale = "en_US",
                                .timeZone = TimeZone::utc()};
          out.push_back(w.content(entry, env));
        }
      }
    }
    return out;
  }();
  return all;
}

void TreeJson(benchmark::State& state) {
  for (auto _ : state) {
    for (const View& v : faces()) benchmark::DoNotOptimize(dumpJson(v));
  }
}
BENCHMARK(TreeJson);

void TreeJsonCompact(benchmark::State& state) {
  for (auto _ : state) {
    for (const View& v : faces()) benchmark::DoNotOptimize(dumpJson(v, 0));
  }
}
BENCHMARK(TreeJsonCompact);

void TreeText(benchmark::State& state) {
  for (auto _ : state) {
    for (const View& v : faces()) benchmark::DoNotOptimize(dumpText(v));
  }
}
BENCHMARK(TreeText);

}  // namespace

BENCHMARK_MAIN();
