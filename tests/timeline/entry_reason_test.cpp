#include "timeline/entry_reason.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "feeds.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;
using Kind = EntryReason::Kind;

EntryReason mark(std::size_t minutes) {
  return {.kind = minutes <= 60 ? Kind::minuteMark : Kind::fiveMinuteMark, .index = minutes};
}
EntryReason start(std::size_t i) {
  return {.kind = Kind::classStart, .index = i};
}
EntryReason end(std::size_t i) {
  return {.kind = Kind::classEnd, .index = i};
}
EntryReason dropOff(std::size_t i) {
  return {.kind = Kind::deadlineDropOff, .index = i};
}
const EntryReason kNow{.kind = Kind::now};

struct Probe {
  Date date;
  std::vector<EntryReason> reasons;  ///< empty: the date is no entry
};

/// A request at `now` (its minute starting at `minuteStart`): how many dates, and some of them.
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
  EXPECT_TRUE(
      std::is_sorted(got.begin(), got.end(), [](const auto& a, const auto& b) { return a.date < b.date; }));
  for (const Probe& p : row.probes) {
    const auto at =
        std::find_if(got.begin(), got.end(), [&](const ReasonedDate& d) { return d.date == p.date; });
    const double minutes = (p.date - kTen) / kMin;
    if (p.reasons.empty()) {
      EXPECT_EQ(at, got.end()) << minutes;
    } else {
      ASSERT_NE(at, got.end()) << minutes;
      EXPECT_EQ(at->reasons, p.reasons) << minutes;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimelineReasons,
    testing::Values(
        Row{"WithoutAFeed",
            kTen + 30,
            kTen,
            Loaded::missing(),
            85,
            {{kTen + 30, {kNow}},
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
            {{kTen, {kNow}}, {kTen + kMin, {mark(1)}}}},
        Row{"ClassOnAMarkAndBetweenMarks",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 20 * kMin, kTen + 70 * kMin + 30)}),
            86,
            {{kTen + 20 * kMin, {start(0), mark(20)}}, {kTen + 70 * kMin + 30, {end(0)}}}},
        Row{"ClassUnderWayOnlyItsEnd",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen - kHour, kTen + 50 * kMin)}),
            85,
            {{kTen - kHour, {}}, {kTen + 50 * kMin, {end(0), mark(50)}}}},
        Row{"BackToBackClassesOnAFiveMinuteMark",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 2 * kHour, kTen + 3 * kHour), lesson(kTen + 3 * kHour, kTen + 4 * kHour)}),
            86,
            {{kTen + 3 * kHour, {end(0), start(1), mark(180)}}, {kTen + 4 * kHour, {end(1)}}}},
        Row{"ClassStartingNow",
            kTen,
            kTen,
            feedOf({lesson(kTen, kTen + 2 * kMin + 1)}),
            86,
            {{kTen, {kNow, start(0)}}, {kTen + 2 * kMin + 1, {end(0)}}}},
        Row{"ClassEndingBeforeItStarts",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 500 * kMin, kTen + 400 * kMin)}),
            87,
            {{kTen + 400 * kMin, {end(0)}}, {kTen + 500 * kMin, {start(0)}}}},
        Row{"DeadlineDropsOffTwelveHoursAfterDue",
            kTen + 10 * kHour,
            kTen + 10 * kHour,
            feedOf({}, {deadline(kTen - kHour), deadline(kTen + 11 * kHour), deadline(kTen - 25 * kHour)}),
            86,
            {{kTen + 11 * kHour, {dropOff(0), mark(60)}},
             {kTen + 23 * kHour, {dropOff(1)}},
             {kTen + 11 * kHour - 0.001, {}},
             {kTen - 13 * kHour, {}}}},
        Row{"TheWindowHoldsItsLastSecond",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 30 + 86'400, kTen + 30 + 86'401)}, {deadline(kTen + 72 * kHour)}),
            86,
            {{kTen + 30 + 86'400, {start(0)}}, {kTen + 30 + 86'401, {}}, {kTen + 84 * kHour, {}}}},
        Row{"DuplicatesInTheFeedAreEachAReason",
            kTen + 30,
            kTen,
            feedOf({lesson(kTen + 90 * kMin + 7, kTen + 95 * kMin),
                    lesson(kTen + 90 * kMin + 7, kTen + 2 * kHour)}),
            86,
            {{kTen + 90 * kMin + 7, {start(0), start(1)}}, {kTen + 95 * kMin, {end(0), mark(95)}}}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ostrel
