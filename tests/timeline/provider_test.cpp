#include "timeline/provider.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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

/// The 84 marks after `m0`.
std::vector<Date> marks(Date m0) {
  std::vector<Date> out;
  for (int i = 1; i <= 60; ++i) out.push_back(m0 + i * kMin);
  for (int k = 65; k <= 180; k += 5) out.push_back(m0 + k * kMin);
  return out;
}

TEST(Timeline, WithoutAFeedNowAndTheMarks) {
  for (const Date now : {kTen + 30, kTen}) {
    const Timeline<Entry> t = Provider::timeline(now, kTen, Loaded::missing());
    ASSERT_EQ(t.entries.size(), 85u);
    EXPECT_EQ(t.entries[0].date, now);
    EXPECT_EQ(t.entries[1].date, kTen + kMin);
    EXPECT_EQ(t.entries[60].date, kTen + 60 * kMin);
    EXPECT_EQ(t.entries[61].date, kTen + 65 * kMin);
    EXPECT_EQ(t.entries[84].date, kTen + 180 * kMin);
    EXPECT_EQ(t.policy.at, now + 1'800);
    for (const Entry& e : t.entries) EXPECT_EQ(e.loaded.which(), Loaded::Case::missing);
  }
}

struct Worked {
  const char* what;
  Loaded loaded;
  std::size_t count;
  std::vector<Date> present;
  std::vector<Date> absent;
};

class WorkedCases : public testing::TestWithParam<Worked> {};

TEST_P(WorkedCases, DatesFromTheFeed) {
  const Worked& w = GetParam();
  const Date now = kTen + 30;
  const auto dates = Provider::timelineDates(now, kTen, w.loaded);
  EXPECT_EQ(dates.size(), w.count) << w.what;
  for (Date d : w.present) EXPECT_TRUE(std::binary_search(dates.begin(), dates.end(), d)) << w.what;
  for (Date d : w.absent) EXPECT_FALSE(std::binary_search(dates.begin(), dates.end(), d)) << w.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedCases,
    testing::Values(
        Worked{"start on a mark adds nothing, end between marks adds one",
               feedOf({lesson(kTen + 20 * kMin, kTen + 70 * kMin + 30)}),
               86,
               {kTen + 70 * kMin + 30},
               {}},
        Worked{"a start before now is dropped, an end on a mark adds nothing",
               feedOf({lesson(kTen - 60 * kMin, kTen + 50 * kMin)}),
               85,
               {},
               {kTen - 60 * kMin}},
        Worked{"a class 30 hours ahead adds nothing",
               feedOf({lesson(kTen + 30 * 3600, kTen + 31 * 3600)}),
               85,
               {},
               {kTen + 30 * 3600}},
        Worked{"a deadline adds its drop-off, not its due instant",
               feedOf({}, {deadline(kTen - 9 * 3600 + 7)}),
               86,
               {kTen + 3 * 3600 + 7},
               {kTen - 9 * 3600 + 7}},
        Worked{
            "a deadline three days ahead adds nothing", feedOf({}, {deadline(kTen + 72 * 3600)}), 85, {}, {}},
        Worked{"exactly 24 hours ahead is kept, one second more is not",
               feedOf({lesson(kTen + 30 + 86'400, kTen + 30 + 86'401)}),
               86,
               {kTen + 30 + 86'400},
               {kTen + 30 + 86'401}},
        Worked{"an end equal to the next start is one entry",
               feedOf({lesson(kTen + 200 * kMin, kTen + 250 * kMin + 7),
                       lesson(kTen + 250 * kMin + 7, kTen + 300 * kMin + 7)}),
               88,
               {kTen + 200 * kMin, kTen + 250 * kMin + 7, kTen + 300 * kMin + 7},
               {}},
        Worked{"a class ending before it starts still gives both dates",
               feedOf({lesson(kTen + 500 * kMin, kTen + 400 * kMin)}),
               87,
               {kTen + 400 * kMin, kTen + 500 * kMin},
               {}}));

TEST(Timeline, ADeadlineLeavesTwelveHoursAfterItFellDue) {
  const Date evening = kTen + 10 * 3'600;  // 20:00
  const Date todayNine = kTen - 3'600, yesterdayNine = todayNine - 86'400;
  const auto dates = Provider::timelineDates(
      evening, evening,
      feedOf({}, {deadline(todayNine), deadline(yesterdayNine), deadline(todayNine + 150)}));
  // Today 09:00 drops off at 21:00, on the 60th minute mark; 09:02:30 adds 21:02:30; yesterday's
  // deadline dropped off before now and adds nothing.
  EXPECT_EQ(dates.size(), 86u);
  EXPECT_TRUE(std::binary_search(dates.begin(), dates.end(), kTen + 11 * 3'600));
  EXPECT_TRUE(std::binary_search(dates.begin(), dates.end(), kTen + 11 * 3'600 + 150));
  EXPECT_FALSE(std::binary_search(dates.begin(), dates.end(), yesterdayNine + 43'200));
}

TEST(Timeline, EveryEntrySharesTheOneFeed) {
  const Loaded l = Loaded::feed(Sample::feed(Clock::fixed(kTen)));
  const Timeline<Entry> t = Provider::timeline(kTen, kTen, l);
  for (const Entry& e : t.entries) EXPECT_EQ(e.loaded.sharedFeed().get(), l.sharedFeed().get());
}

// Large feeds: thousands of candidates, also for instants before 1970 and a window across 1970.
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
    const Loaded loaded = feedOf(classes, due);
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
    for (Date mark : marks(m0)) add(mark);

    const auto dates = Provider::timelineDates(now, m0, loaded);
    ASSERT_EQ(dates.size(), expected.size()) << base;
    EXPECT_TRUE(std::equal(dates.begin(), dates.end(), expected.begin(), [](Date d, double e) {
      return d.sinceEpoch == e;
    })) << base;
  }
}

TEST(Timeline, InstantsFarOutOfRangeGiveAnOrderedTimelineWithoutFault) {
  const Loaded l = feedOf({lesson(Date{-1e308}, Date{1e308})}, {deadline(Date{1e308})});
  for (double now : {1e300, -1e300, 9e15, std::numeric_limits<double>::infinity()}) {
    const Date m0 = Calendar::minuteStart(Date{now}, TimeZone::utc()).value_or(Date{now});
    const Timeline<Entry> t = Provider::timeline(Date{now}, m0, l);
    ASSERT_FALSE(t.entries.empty()) << now;
    EXPECT_EQ(t.entries.front().date, Date{now});
    for (std::size_t i = 1; i < t.entries.size(); ++i) EXPECT_LT(t.entries[i - 1].date, t.entries[i].date);
  }
}

class ProviderOperations : public test_support::ScratchTest {
 protected:
  TimelineProviderContext context(std::filesystem::path feed, bool preview) const {
    return {.isPreview = preview,
            .services = Services{
                .clock = Clock::fixed(kTen + 30), .feed = std::move(feed), .timeZone = TimeZone::utc()}};
  }
};

TEST_F(ProviderOperations, SnapshotAndPreview) {
  const auto absent = dir_ / "absent.json";
  const auto off = write("widget.json", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})");
  struct Row {
    std::filesystem::path feed;
    bool preview;
    Loaded::Case expected;
    bool sample;
  };
  for (const Row& r : {Row{absent, true, Loaded::Case::feed, true}, Row{off, true, Loaded::Case::off, false},
                       Row{absent, false, Loaded::Case::missing, false}}) {
    int calls = 0;
    Provider{}.getSnapshot(context(r.feed, r.preview), [&](const Entry& e) {
      ++calls;
      EXPECT_EQ(e.date, kTen + 30);
      EXPECT_EQ(e.loaded.which(), r.expected);
      if (r.sample) {
        EXPECT_EQ(*e.loaded.feedValue(), Sample::feed(Clock::fixed(kTen + 30)));
      }
    });
    EXPECT_EQ(calls, 1);
  }
}

TEST_F(ProviderOperations, PlaceholderIsTheSampleWhateverTheFile) {
  const auto off = write("widget.json", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})");
  const Entry e = Provider{}.placeholder(context(off, false));
  EXPECT_EQ(e.date, kTen + 30);
  EXPECT_EQ(*e.loaded.feedValue(), Sample::feed(Clock::fixed(kTen + 30)));
}

TEST_F(ProviderOperations, TimelineReadsTheFileAndCallsBackOnce) {
  const auto feed = write(
      "widget.json",
      R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","classes":[{"unit":"U","title":"T","start":"2026-03-02T10:20:00Z","end":"2026-03-02T11:10:30Z"}]})");
  int calls = 0;
  Provider{}.getTimeline(context(feed, false), [&](const Timeline<Entry>& t) {
    ++calls;
    EXPECT_EQ(t.entries.size(), 86u);
    EXPECT_EQ(t.entries.front().loaded.which(), Loaded::Case::feed);
  });
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace ostrel
