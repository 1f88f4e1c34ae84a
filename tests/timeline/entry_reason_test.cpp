#include "timeline/entry_reason.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "feeds.hpp"
#include "timeline/provider.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

using Kind = EntryReason::Kind;

EntryReason mark(std::size_t minutes) {
  return {.kind = minutes <= 60 ? Kind::minuteMark : Kind::fiveMinuteMark, .index = minutes};
}

struct Probe {
  Date date;
  std::vector<EntryReason> reasons;  ///< empty: the date is no entry
};

struct Row {
  const char* name;
  Date now;
  Date minuteStart;
  Loaded loaded;
  std::size_t dates;
  std::vector<Probe> probes;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

class TimelineReasons : public testing::TestWithParam<Row> {};

TEST_P(TimelineReasons, EachDateWithWhyItIsThere) {
  const Row& row = GetParam();
  const std::vector<ReasonedDate> got = timelineReasons(row.now, row.minuteStart, row.loaded);
  EXPECT_EQ(got.size(), row.dates);
  for (const Probe& p : row.probes) {
    const auto at =
        std::find_if(got.begin(), got.end(), [&](const ReasonedDate& d) { return d.date == p.date; });
    if (p.reasons.empty()) {
      EXPECT_EQ(at, got.end()) << p.date.sinceEpoch - kTen.sinceEpoch;
    } else {
      ASSERT_NE(at, got.end()) << p.date.sinceEpoch - kTen.sinceEpoch;
      EXPECT_EQ(at->reasons, p.reasons) << p.date.sinceEpoch - kTen.sinceEpoch;
    }
  }
  // The same dates as the provider's, in the same order.
  std::vector<Date> dates;
  for (const ReasonedDate& d : got) dates.push_back(d.date);
  EXPECT_EQ(dates, Provider::timelineDates(row.now, row.minuteStart, row.loaded));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimelineReasons,
    testing::Values(
        Row{"WithoutAFeed",
            kTen + 30,
            kTen,
            Loaded::missing(),
            85,
            {{kTen + 30, {{.kind = Kind::now}}},
             {kTen + kMin, {mark(1)}},
             {kTen + 60 * kMin, {mark(60)}},
             {kTen + 65 * kMin, {mark(65)}},
             {kTen + 180 * kMin, {mark(180)}},
             {kTen + 61 * kMin, {}}}},
        Row{"NowOnAMinuteIsNoMark",
            kTen,
            kTen,
            Loaded::off(),
            85,
            {{kTen, {{.kind = Kind::now}}}, {kTen + kMin, {mark(1)}}}},
        Row{"ClassOnAMarkAndBetweenMarks",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 20 * kMin, kTen + 70 * kMin + 30)}),
            86,
            {{kTen + 20 * kMin, {{.kind = Kind::classStart, .index = 0}, mark(20)}},
             {kTen + 70 * kMin + 30, {{.kind = Kind::classEnd, .index = 0}}}}},
        Row{"ClassUnderWayOnlyItsEnd",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen - kHour, kTen + 50 * kMin)}),
            85,
            {{kTen - kHour, {}}, {kTen + 50 * kMin, {{.kind = Kind::classEnd, .index = 0}, mark(50)}}}},
        Row{"BackToBackClassesOnAFiveMinuteMark",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 2 * kHour, kTen + 3 * kHour), lesson(kTen + 3 * kHour, kTen + 4 * kHour)}),
            86,
            {{kTen + 3 * kHour,
              {{.kind = Kind::classEnd, .index = 0}, {.kind = Kind::classStart, .index = 1}, mark(180)}},
             {kTen + 4 * kHour, {{.kind = Kind::classEnd, .index = 1}}}}},
        Row{"ClassStartingNow",
            kTen,
            kTen,
            feedOf({lesson(kTen, kTen + 2 * kMin + 1)}),
            86,
            {{kTen, {{.kind = Kind::now}, {.kind = Kind::classStart, .index = 0}}},
             {kTen + 2 * kMin + 1, {{.kind = Kind::classEnd, .index = 0}}}}},
        Row{"DeadlineDropsOffTwelveHoursAfterDue",
            kTen + 10 * kHour,
            kTen + 10 * kHour,
            feedOf({}, {deadline(kTen - kHour), deadline(kTen + 11 * kHour)}),
            86,
            {{kTen + 11 * kHour, {{.kind = Kind::deadlineDropOff, .index = 0}, mark(60)}},
             {kTen + 23 * kHour, {{.kind = Kind::deadlineDropOff, .index = 1}}},
             {kTen + 11 * kHour - 0.001, {}}}},
        Row{"TheWindowHoldsItsLastSecond",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 30 + 86'400, kTen + 30 + 86'401)}),
            86,
            {{kTen + 30 + 86'400, {{.kind = Kind::classStart, .index = 0}}}, {kTen + 30 + 86'401, {}}}},
        Row{"DuplicatesInTheFeedAreEachAReason",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 90 * kMin + 7, kTen + 95 * kMin),
                    lesson(kTen + 90 * kMin + 7, kTen + 2 * kHour)}),
            86,
            {{kTen + 90 * kMin + 7,
              {{.kind = Kind::classStart, .index = 0}, {.kind = Kind::classStart, .index = 1}}},
             {kTen + 95 * kMin, {{.kind = Kind::classEnd, .index = 0}, mark(95)}}}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ostrel
