#pragma once
/// \file date.hpp
/// `Date`: an absolute instant, seconds since 1970-01-01T00:00:00Z as a double.
///
///     Date start{1'772'445'600.0};          // 2026-03-02T10:00:00Z
///     Date drop = start + 43'200;           // twelve hours later
///     double left = drop - start;           // 43200
///
/// Durations are plain seconds; no calendar arithmetic happens here (see calendar.hpp).

#include <compare>

namespace ostrel {

struct Date {
  double sinceEpoch = 0;  ///< seconds since 1970-01-01T00:00:00Z

  friend constexpr Date operator+(Date d, double seconds) { return Date{d.sinceEpoch + seconds}; }
  friend constexpr Date operator-(Date d, double seconds) { return Date{d.sinceEpoch - seconds}; }
  friend constexpr double operator-(Date a, Date b) { return a.sinceEpoch - b.sinceEpoch; }
  // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads the defaulted comparison
  friend constexpr auto operator<=>(const Date&, const Date&) = default;
  friend constexpr bool operator==(const Date&, const Date&) = default;
};

}  // namespace ostrel
