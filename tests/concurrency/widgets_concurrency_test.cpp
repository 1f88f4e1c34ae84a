// Timelines and view trees built on many threads at once from one shared feed equal those built on
// one thread, and every entry keeps sharing that one feed.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

#include "timeline/provider.hpp"
#include "timeline/sample.hpp"
#include "together.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

constexpr std::size_t kThreads = 8;
constexpr Date kNow{1'772'445'630};  // 2026-03-02T10:00:30Z

/// The request instants, one per thread, a little over seven minutes apart.
Date nowOf(int i) {
  return kNow + i * 437.25;
}

Timeline<Entry> timelineAt(Date now, const Loaded& loaded) {
  return Provider::timeline(now, Date{std::floor(now.sinceEpoch / 60) * 60}, loaded);
}

/// Every face of every eighth entry from `first` on: each widget in each family it offers, light and
/// dark. (Eight threads with eight offsets cover every entry's position between them.)
std::vector<View> treesOf(const Timeline<Entry>& timeline, const std::vector<WidgetConfiguration>& widgets,
                          std::size_t first) {
  std::vector<View> trees;
  for (std::size_t e = first; e < timeline.entries.size(); e += kThreads) {
    const Entry& entry = timeline.entries[e];
    for (const WidgetConfiguration& widget : widgets) {
      for (WidgetFamily family : widget.families) {
        for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
          const Environment env{.widgetFamily = family,
                                .colorScheme = scheme,
                                .systemVersion = {},
                                .locale = "en_GB",
                                .timeZone = TimeZone::named("Australia/Sydney")};
          trees.push_back(widget.content(entry, env));
        }
      }
    }
  }
  return trees;
}

TEST(WidgetsConcurrency, TimelinesAndTreesFromOneSharedFeed) {
  const Loaded loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)));
  const std::vector<WidgetConfiguration> widgets = OstrelWidgets{}.body();

  std::vector<Timeline<Entry>> expectedTimelines;
  std::vector<std::vector<View>> expectedTrees;
  for (int i = 0; i < static_cast<int>(kThreads); ++i) {
    expectedTimelines.push_back(timelineAt(nowOf(i), loaded));
    expectedTrees.push_back(treesOf(expectedTimelines.back(), widgets, static_cast<std::size_t>(i)));
  }

  std::atomic<int> differing{0}, unshared{0};
  test_support::together(static_cast<int>(kThreads), [&](int i) {
    const Timeline<Entry> timeline = timelineAt(nowOf(i), loaded);
    for (const Entry& e : timeline.entries) {
      if (e.loaded.sharedFeed() != loaded.sharedFeed()) ++unshared;
    }
    if (!(timeline == expectedTimelines[static_cast<std::size_t>(i)])) ++differing;
    if (treesOf(timeline, widgets, static_cast<std::size_t>(i)) !=
        expectedTrees[static_cast<std::size_t>(i)]) {
      ++differing;
    }
  });
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(unshared, 0);
  // The timelines made in parallel left no copy of the feed behind.
  expectedTimelines.clear();
  EXPECT_EQ(loaded.sharedFeed().use_count(), 1);
}

}  // namespace
}  // namespace ostrel
