#include "timeline/provider.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <set>

#include "feeds.hpp"
#include "support/scratch.hpp"
#include "time/calendar.hpp"
#include "timeline/sample.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

// Large feeds: thousands of candidates (sorted by their bits), also for instants before 1970 and a
// window across 1970.
TEST(Timeline, LargeFeedsGiveExactlyTheSortedUniqueCandidates) {
  std::mt19937_64 rng(7);
  for (const double base : {kTen.sinceEpoch, -43'200.0, -2e9}) {
    const Date now{base + 0.125};
    std::uniform_real_distribution<double> offset(-86'400, 2 * 86'400);
    std::vector<ClassItem> classes;
    std::vector<DueItem> due;
    for (int i = 0; i < 4'000; ++i) {
      const double s = i % 3 == 0 ? std::round(offset(rng) / 60) * 60 : offset(rng);
      classes.push_back(lesson(now + s, now + s + (i % 5) * 600.0));
    }
    for (int i = 0; i < 1'000; ++i) due.push_back(deadline(now + offset(rng) - 43'200));
    classes.push_back(lesson(Date{-0.0}, Date{0.0}));
    const Date m0{std::floor(now.sinceEpoch / 60) * 60};

    std::set<double> expected{now.sinceEpoch};
    auto add = [&](Date d) {
      if (now <= d && d <= now + 86'400) expected.insert(d.sinceEpoch);
    };
    for (const auto& c : classes) {
      add(c.start);
      add(c.end);
    }
    for (const auto& d : due) add(d.due + 43'200);
    for (int i = 1; i <= 60; ++i) add(m0 + i * kMin);
    for (int k = 65; k <= 180; k += 5) add(m0 + k * kMin);

    const auto dates = Provider::timelineDates(now, m0, feedOf(classes, due));
    ASSERT_EQ(dates.size(), expected.size()) << base;
    EXPECT_TRUE(std::equal(dates.begin(), dates.end(), expected.begin(), [](Date d, double e) {
      return d.sinceEpoch == e;
    })) << base;
  }
}

TEST(Timeline, InstantsFarOutOfRangeGiveAnOrderedTimelineWithoutFault) {
  const Loaded l = feedOf({lesson(Date{-1e308}, Date{1e308})}, {deadline(Date{1e308})});
  for (double now : {1e300, -1e300, 9e15, std::numeric_limits<double>::infinity()}) {
    const Date m0 = Calendar::minuteStart(Date{now}, "UTC").value_or(Date{now});
    const Timeline<Entry> t = Provider::timeline(Date{now}, m0, l);
    ASSERT_FALSE(t.entries.empty()) << now;
    EXPECT_EQ(t.entries.front().date, Date{now});
    for (std::size_t i = 1; i < t.entries.size(); ++i) EXPECT_LT(t.entries[i - 1].date, t.entries[i].date);
  }
}

class ProviderOperations : public test_support::ScratchTest {
 protected:
  static TimelineProviderContext context(std::filesystem::path feed, bool preview) {
    return {
        .isPreview = preview,
        .services = Services{.clock = Clock::fixed(kTen + 30), .feed = std::move(feed), .timeZone = "UTC"}};
  }
};

TEST_F(ProviderOperations, SnapshotPreviewAndPlaceholder) {
  const auto absent = dir_ / "absent.json";
  const auto off = write("widget.json", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})");
  const Feed sample = Sample::feed(Clock::fixed(kTen + 30));
  struct Row {
    std::filesystem::path feed;
    bool preview;
    Loaded::Case expected;
  };
  for (const Row& r : {Row{absent, true, Loaded::Case::feed}, Row{off, true, Loaded::Case::off},
                       Row{absent, false, Loaded::Case::missing}}) {
    int calls = 0;
    Provider{}.getSnapshot(context(r.feed, r.preview), [&](const Entry& e) {
      ++calls;
      EXPECT_EQ(e.date, kTen + 30);
      EXPECT_EQ(e.loaded.which(), r.expected);
      if (r.expected == Loaded::Case::feed) {
        EXPECT_EQ(*e.loaded.feedValue(), sample);
      }
    });
    EXPECT_EQ(calls, 1);
  }
  const Entry e = Provider{}.placeholder(context(off, false));
  EXPECT_EQ(e.date, kTen + 30);
  EXPECT_EQ(*e.loaded.feedValue(), sample);
}

TEST_F(ProviderOperations, TimelineReadsTheFileOnceAndCallsBackOnce) {
  const auto feed = write("widget.json", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","classes":[)"
                                         R"({"unit":"U","title":"T","start":"2026-03-02T10:20:00Z",)"
                                         R"("end":"2026-03-02T11:10:30Z"}]})");
  int calls = 0;
  Provider{}.getTimeline(context(feed, false), [&](const Timeline<Entry>& t) {
    ++calls;
    EXPECT_EQ(t.entries.size(), 86u);
    EXPECT_EQ(t.policy.at, kTen + 30 + Provider::reload);
    // Every entry shares the one feed read.
    for (const Entry& e : t.entries) EXPECT_EQ(e.loaded.sharedFeed(), t.entries.front().loaded.sharedFeed());
    EXPECT_NE(t.entries.front().loaded.sharedFeed(), nullptr);
  });
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace ostrel
