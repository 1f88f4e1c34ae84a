#pragma once
/// \file phrase.hpp
/// Countdown wording: how long until a moment, in the words both widgets use. The `When` view
/// (when.hpp) shows it.
///
///     Phrase::until(now + 90, now, env)        // "in 2 min"
///     Phrase::until(now + 5400, now, env)      // "in 1 h 30 min"
///     Phrase::until(now + 3 * 86400, now, env) // "Thu 9:00 AM" (en_US), "Do., 09:00" (de_DE)
///
/// The minute count m is the ceiling of (date - now) / 60. m <= 0 reads "now"; 1 to 59 "in m min";
/// 60 to 719 "in H h" or "in H h M min"; 720 and more the date's abbreviated weekday, hour and minute
/// in the locale and time zone. The units are never translated or pluralised.
///
/// Instants no clock or feed produces are worded soundly too: an interval that is not a number
/// (NaN, or both instants the same infinity) reads "now", like any date not after now; an interval
/// beyond every countdown, infinite included, takes the formatted branch, where the date is clamped
/// to the years 1 to 9999 (so an infinite date shows the last minute of 9999). No minute count is
/// ever converted to an integer unless it is below 720.

#include <optional>
#include <string>

#include "time/date.hpp"
#include "ui/environment.hpp"

namespace ostrel {

struct Phrase {
  /// The countdown wording for `date` as seen at `now`, formatted in `locale` and `timeZone` when it
  /// is twelve hours or more away. Never fails.
  [[nodiscard]] static std::string until(Date date, Date now, const std::string& locale,
                                         const TimeZone& timeZone);
  /// The same in the environment's locale and time zone.
  [[nodiscard]] static std::string until(Date date, Date now, const Environment& env);
  /// The wording when it is a countdown ("now", "in 5 min", "in 2 h 1 min"); nothing when the date is
  /// 720 minutes or more away and is shown as a weekday and time instead.
  [[nodiscard]] static std::optional<std::string> countdown(Date date, Date now);
};

}  // namespace ostrel
