#pragma once
/// \file timeline.hpp
/// What a provider hands back to the host: entries in ascending order of date, each shown from its
/// date on, and the instant at which the host is to ask again.
///
///     Timeline<Entry> t{.entries = {...}, .policy = TimelineReloadPolicy::after(now + 1800)};

#include <concepts>
#include <vector>

#include "time/date.hpp"

namespace ostrel {

/// A value the host can show from its `date` on.
template <class E>
concept TimelineEntry = requires(const E& e) {
  { e.date } -> std::convertible_to<Date>;
};

/// When the host is to ask for a new timeline.
struct TimelineReloadPolicy {
  Date at;  ///< ask again at or after this instant
  [[nodiscard]] static constexpr TimelineReloadPolicy after(Date date) { return TimelineReloadPolicy{date}; }
  friend constexpr bool operator==(const TimelineReloadPolicy&, const TimelineReloadPolicy&) = default;
};

/// Entries in ascending order of `date`, and when to ask again.
template <TimelineEntry E>
struct Timeline {
  std::vector<E> entries;
  TimelineReloadPolicy policy;
  friend bool operator==(const Timeline&, const Timeline&) = default;
};

}  // namespace ostrel
