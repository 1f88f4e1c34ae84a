#include "engine/schedule.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace ostrel {
namespace {

constexpr Date kTen{1'772'445'600};  // 2026-03-02T10:00:00Z
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Dated {
  Date date;
};

/// Entries at 10:00:30, 10:01, 10:02 and 10:20; reload at 10:30:30.
Timeline<Dated> sample() {
  return Timeline<Dated>{.entries = {{kTen + 30}, {kTen + 60}, {kTen + 120}, {kTen + 1200}},
                         .policy = TimelineReloadPolicy::after(kTen + 1830)};
}

TEST(Schedule, CurrentIsTheLatestEntryNotAfterNow) {
  struct Row {
    double at;
    std::optional<std::size_t> current;
  };
  const Row rows[] = {
      {0, std::nullopt},  // before the first entry
      {29.999, std::nullopt},
      {30, 0},  // exactly at an entry's date: that entry
      {59.999, 0},
      {60, 1},
      {119, 1},
      {120, 2},
      {1199, 2},  // a long gap keeps the earlier entry
      {1200, 3},
      {86'400, 3},  // long after the last: still the last
  };
  const Timeline<Dated> t = sample();
  for (const Row& r : rows) EXPECT_EQ(Schedule::current(t.entries, kTen + r.at), r.current) << r.at;
  EXPECT_EQ(Schedule::current(std::vector<Dated>{}, kTen), std::nullopt);
}

TEST(Schedule, NextWakeIsTheNextEntryOrTheReload) {
  struct Row {
    double at;
    double wake;
  };
  const Row rows[] = {
      {0, 30},                     // before the first entry: at its date
      {30, 60},                    // at an entry: the next one, never the same instant again
      {45, 60},     {60, 120},     // minute by minute
      {120, 1200},                 // 18 minutes to the next entry: no wake in between
      {1200, 1830},                // after the last entry: the reload
      {1800, 1830}, {1830, 1830},  // the reload instant has come: now
      {5000, 5000},
  };
  const Timeline<Dated> t = sample();
  for (const Row& r : rows) EXPECT_EQ(Schedule::nextWake(t, kTen + r.at), kTen + r.wake) << r.at;
  const Timeline<Dated> far{.entries = {}, .policy = TimelineReloadPolicy::after(kTen + 86'400)};
  EXPECT_EQ(Schedule::nextWake(far, kTen), kTen + Schedule::longestSleep);
}

TEST(Schedule, ReloadIsDueAtThePolicyInstantOrWhenNothingIsCurrent) {
  struct Row {
    double at;
    bool due;
  };
  const Row rows[] = {
      {29, true},  // the clock is before the timeline's first entry (it went back)
      {30, false}, {1829.999, false}, {1830, true}, {1831, true}, {86'400 * 3, true},
  };
  const Timeline<Dated> t = sample();
  for (const Row& r : rows) EXPECT_EQ(Schedule::reloadDue(t, kTen + r.at), r.due) << r.at;
}

TEST(Schedule, AJumpIsWallProgressDifferingFromMonotonicProgress) {
  struct Row {
    const char* what;
    double wall, monotonic;  // progress of each clock since the last wake
    bool jumped;
  };
  const Row rows[] = {
      {"a minute on both", 60, 60, false},          {"slewed by NTP", 60.03, 60, false},
      {"just within the tolerance", 61, 60, false}, {"set forward by hand", 3660, 60, true},
      {"set back by two minutes", -60, 60, true},   {"the machine slept for an hour", 3600, 0.5, true},
      {"stepped back 1.5 s", 58.5, 60, true},       {"a reading that is not a number", kNaN, 60, false},
  };
  const ClockReading before{.wall = kTen, .monotonic = 1000};
  for (const Row& r : rows) {
    const ClockReading after{.wall = kTen + r.wall, .monotonic = 1000 + r.monotonic};
    EXPECT_EQ(Schedule::clockJumped(before, after), r.jumped) << r.what;
  }
}

}  // namespace
}  // namespace ostrel
