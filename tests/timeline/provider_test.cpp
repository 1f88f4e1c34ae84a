#include "timeline/provider.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "feeds.hpp"
#include "support/scratch.hpp"
#include "timeline/entry_reason.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

// Large feeds: thousands of candidates, sorted by their bits, give exactly the candidates sorted
// and unique; also for instants before 1970 and a window across 1970 (where -0.0 and 0.0 meet).
TEST(Timeline, LargeFeedsGiveExactlyTheSortedUniqueCandidates) {
  std::mt19937_64 rng(7);
  for (const double base : {kTen.sinceEpoch, -43'200.0, -2e9}) {
    const Date now{base + 0.125};
    std::uniform_real_distribution<double> offset(-86'400, 2 * 86'400);
    std::vector<ClassItem> classes{lesson(Date{-0.0}, Date{0.0})};
    std::vector<DueItem> due;
    for (int i = 0; i < 4'000; ++i) {
      const double s = i % 3 == 0 ? std::round(offset(rng) / 60) * 60 : offset(rng);
      classes.push_back(lesson(now + s, now + s + (i % 5) * 600.0));
      if (i % 4 == 0) due.push_back(deadline(now + offset(rng) - 43'200));
    }
    const Date m0{std::floor(now.sinceEpoch / 60) * 60};
    const Loaded loaded = feedOf(classes, due);
    std::vector<double> expected, got;
    forEachCandidate(now, m0, loaded, [&](Date d, EntryReason) { expected.push_back(d.sinceEpoch); });
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    for (const Date d : Provider::timelineDates(now, m0, loaded)) got.push_back(d.sinceEpoch);
    EXPECT_GT(got.size(), 2'000u);
    EXPECT_EQ(got, expected) << base;
  }
}

TEST(Timeline, InstantsFarOutOfRangeGiveAnOrderedTimelineWithoutFault) {
  const Loaded l = feedOf({lesson(Date{-1e308}, Date{1e308})}, {deadline(Date{1e308})});
  for (double now : {1e300, -1e300, 9e15, std::numeric_limits<double>::infinity()}) {
    const Timeline<Entry> t = Provider::timeline(Date{now}, Date{now}, l);
    ASSERT_FALSE(t.entries.empty()) << now;
    EXPECT_EQ(t.entries.front().date, Date{now});
    for (std::size_t i = 1; i < t.entries.size(); ++i) EXPECT_LT(t.entries[i - 1].date, t.entries[i].date);
  }
}

class ProviderOperations : public test_support::ScratchTest {};

/// One read of the clock and the file, one call back, and every entry shares the one feed read.
TEST_F(ProviderOperations, TimelineReadsTheFileOnceAndCallsBackOnce) {
  const auto feed =
      write("on.json", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","classes":[{"unit":"U",)"
                       R"("title":"T","start":"2026-03-02T10:20:00Z","end":"2026-03-02T11:10:30Z"}]})");
  const TimelineProviderContext context{.isPreview = false,
                                        .services = Services{.clock = Clock::fixed(kTen + 30), .feed = feed}};
  std::vector<Timeline<Entry>> got;
  Provider{}.getTimeline(context, [&](Timeline<Entry> t) { got.push_back(std::move(t)); });
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].entries.size(), 86u);
  EXPECT_EQ(got[0].policy.at, kTen + 30 + 1'800);  // asked again in 30 minutes
  for (const Entry& e : got[0].entries)
    EXPECT_EQ(e.loaded.sharedFeed(), got[0].entries[0].loaded.sharedFeed());
  EXPECT_NE(got[0].entries[0].loaded.sharedFeed(), nullptr);
}

}  // namespace
}  // namespace ostrel
