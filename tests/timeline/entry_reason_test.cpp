#include "timeline/entry_reason.hpp"

#include <gtest/gtest.h>

#include "feeds.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

/// The reasons of the date `seconds` after kTen, in words: "now", "start 0", "end 1", "drop-off 0",
/// "mark 20" (a minute mark), "5-mark 65"; "-" where the date is no entry.
std::string reasonsAt(const std::vector<ReasonedDate>& dates, double seconds) {
  const auto at =
      std::find_if(dates.begin(), dates.end(), [&](const auto& d) { return d.date == kTen + seconds; });
  if (at == dates.end()) return "-";
  constexpr const char* kWords[] = {"now", "mark", "5-mark", "start", "end", "drop-off"};
  std::string s;
  for (const EntryReason& r : at->reasons) {
    s += (s.empty() ? "" : ", ") + std::string(kWords[static_cast<int>(r.kind)]) +
         (r.kind == EntryReason::Kind::now ? "" : " " + std::to_string(r.index));
  }
  return s;
}

/// A request at kTen + `now` (its minute begun at kTen + `minute`): how many dates, some with reasons.
struct Row {
  const char* name;
  double now, minute;
  Loaded loaded;
  std::size_t dates;
  std::vector<std::pair<double, std::string>> probes;
};

class TimelineReasons : public testing::TestWithParam<Row> {};

TEST_P(TimelineReasons, EachDateWithWhyItIsThere) {
  const Row& row = GetParam();
  const std::vector<ReasonedDate> got = timelineReasons(kTen + row.now, kTen + row.minute, row.loaded);
  EXPECT_EQ(got.size(), row.dates);
  EXPECT_TRUE(
      std::is_sorted(got.begin(), got.end(), [](const auto& a, const auto& b) { return a.date < b.date; }));
  for (const auto& [seconds, reasons] : row.probes) EXPECT_EQ(reasonsAt(got, seconds), reasons) << seconds;
}

constexpr double M = 60, H = kHour;  // a minute, an hour

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, TimelineReasons,
    testing::Values(
        Row{"WithoutAFeed", 30, 0, Loaded::missing(), 85,
            {{30, "now"}, {M, "mark 1"}, {60 * M, "mark 60"}, {61 * M, "-"}, {65 * M, "5-mark 65"}}},
        Row{"NowOnAMinuteIsNoMark", 0, 0, Loaded::off(), 85, {{0, "now"}, {M, "mark 1"}}},
        Row{"ClassOnAMarkAndBetweenMarks", 30, 0, feedOf({lesson(kTen + 20 * M, kTen + 70 * M + 30)}), 86,
            {{20 * M, "start 0, mark 20"}, {70 * M + 30, "end 0"}}},
        Row{"ClassUnderWayOnlyItsEnd", 30, 0, feedOf({lesson(kTen - H, kTen + 50 * M)}), 85,
            {{-H, "-"}, {50 * M, "end 0, mark 50"}}},
        Row{"BackToBackOnAFiveMinuteMark", 30, 0,
            feedOf({lesson(kTen + 2 * H, kTen + 3 * H), lesson(kTen + 3 * H, kTen + 4 * H)}), 86,
            {{3 * H, "end 0, start 1, 5-mark 180"}, {4 * H, "end 1"}}},
        Row{"ClassStartingNow", 0, 0, feedOf({lesson(kTen, kTen + 2 * M + 1)}), 86,
            {{0, "now, start 0"}, {2 * M + 1, "end 0"}}},
        Row{"ClassEndingBeforeItStarts", 30, 0, feedOf({lesson(kTen + 500 * M, kTen + 400 * M)}), 87,
            {{400 * M, "end 0"}, {500 * M, "start 0"}}},
        Row{"DeadlineDropsOffTwelveHoursAfterDue", 10 * H, 10 * H,
            feedOf({}, {deadline(kTen - H), deadline(kTen + 11 * H), deadline(kTen - 25 * H)}), 86,
            {{11 * H, "drop-off 0, mark 60"}, {23 * H, "drop-off 1"}, {11 * H - 0.001, "-"}, {-13 * H, "-"}}},
        Row{"TheWindowHoldsItsLastSecond", 30, 0,
            feedOf({lesson(kTen + 30 + 86'400, kTen + 30 + 86'401)}, {deadline(kTen + 72 * H)}), 86,
            {{30 + 86'400, "start 0"}, {30 + 86'401, "-"}, {84 * H, "-"}}},
        Row{"DuplicatesInTheFeedAreEachAReason", 30, 0,
            feedOf({lesson(kTen + 90 * M + 7, kTen + 95 * M), lesson(kTen + 90 * M + 7, kTen + 2 * H)}), 86,
            {{90 * M + 7, "start 0, start 1"}, {95 * M, "end 0, 5-mark 95"}}}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

}  // namespace
}  // namespace ostrel
