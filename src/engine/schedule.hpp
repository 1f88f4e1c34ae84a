#pragma once
/// \file schedule.hpp
/// The engine's decisions about time, as pure functions of a timeline and instants: which entry is
/// shown now, when to wake next, whether the timeline is due for a reload, and whether the wall clock
/// jumped between two wakes.
///
///     const Timeline<Entry>& t = ...;
///     if (Schedule::reloadDue(t, now)) request();
///     else show(t.entries[*Schedule::current(t.entries, now)]);
///     sleepUntil(Schedule::nextWake(t, now));
///
/// An entry is shown from its date on, until the next entry's date; the engine wakes exactly at the
/// next entry's date or the reload instant, whichever comes first. A jump of the wall clock is no
/// reason to wake more often: the real clock's timer reports a set of the clock at once.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "time/date.hpp"
#include "timeline/timeline.hpp"

namespace ostrel {

/// The two clocks read at one wake: the wall clock (what the faces show) and a monotonic count of
/// seconds that never jumps (and stands still while the machine sleeps).
struct ClockReading {
  Date wall;
  double monotonic = 0;
  friend constexpr bool operator==(const ClockReading&, const ClockReading&) = default;
};

struct Schedule {
  /// The longest the engine sleeps between two wakes, in seconds: a guard for a timeline without
  /// entries ahead (every timeline asks for a reload sooner).
  static constexpr double longestSleep = 1800;
  /// How far the wall clock may drift from the monotonic clock between two wakes before it counts
  /// as a jump, in seconds (well above what a clock slewed by NTP drifts in a minute).
  static constexpr double jumpTolerance = 1;

  /// The index of the entry shown at `now`: the latest whose date is not after `now`. None when
  /// every entry lies after `now` (or there is none). Entries are in ascending order of date.
  template <TimelineEntry E>
  [[nodiscard]] static std::optional<std::size_t> current(const std::vector<E>& entries, Date now) {
    const auto after = std::upper_bound(entries.begin(), entries.end(), now,
                                        [](Date d, const E& e) { return d < Date{e.date}; });
    if (after == entries.begin()) return std::nullopt;
    return static_cast<std::size_t>(after - entries.begin()) - 1;
  }

  /// The date of the first entry after `now`, if any.
  template <TimelineEntry E>
  [[nodiscard]] static std::optional<Date> nextEntry(const std::vector<E>& entries, Date now) {
    const auto after = std::upper_bound(entries.begin(), entries.end(), now,
                                        [](Date d, const E& e) { return d < Date{e.date}; });
    if (after == entries.end()) return std::nullopt;
    return Date{after->date};
  }

  /// Whether the timeline is to be replaced at `now`: its reload instant has come, or it has nothing
  /// to show at `now` (every entry lies ahead: the clock went back).
  template <TimelineEntry E>
  [[nodiscard]] static bool reloadDue(const Timeline<E>& timeline, Date now) {
    return !(now < timeline.policy.at) || !current(timeline.entries, now);
  }

  /// When to wake after `now`: the next entry's date or the reload instant, whichever is first, and
  /// at the latest `now` + `longestSleep`; `now` itself when the reload instant has passed.
  template <TimelineEntry E>
  [[nodiscard]] static Date nextWake(const Timeline<E>& timeline, Date now) {
    if (!(now < timeline.policy.at)) return now;
    Date wake = std::min(now + longestSleep, timeline.policy.at);
    if (const std::optional<Date> next = nextEntry(timeline.entries, now)) wake = std::min(wake, *next);
    return wake;
  }

  /// Whether the wall clock jumped between two readings: it moved by more than `jumpTolerance` more
  /// or less than the monotonic clock did (set by hand or by NTP, or the machine slept).
  [[nodiscard]] static bool clockJumped(ClockReading before, ClockReading after);
};

}  // namespace ostrel
