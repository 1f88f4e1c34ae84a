#pragma once
/// \file calendar.hpp
/// The user's calendar: the start of the calendar minute holding an instant in a time zone
/// (time_zone.hpp), which the timeline's minute marks count from.
///
///     Calendar::minuteStart(Date{1'772'445'630.5}, TimeZone::named("Asia/Kathmandu"))
///     // 2026-03-02T10:00:00Z: 15:45 in Kathmandu began 30.5 seconds before

#include <optional>

#include "time/date.hpp"
#include "time/time_zone.hpp"

namespace ostrel {

struct Calendar {
  /// The start of the calendar minute that contains `date` in `timeZone`, or nothing for an
  /// instant that is not finite or lies beyond about 300,000 years from 1970.
  [[nodiscard]] static std::optional<Date> minuteStart(Date date, const TimeZone& timeZone);
};

}  // namespace ostrel
