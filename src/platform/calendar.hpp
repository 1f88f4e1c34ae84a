#pragma once
/// \file calendar.hpp
/// The user's calendar and time zone, through ICU: the start of the calendar minute holding an
/// instant, and the names of zones the host accepts.

#include <optional>
#include <string>

#include "platform/date.hpp"

namespace ostrel {

struct Calendar {
  /// The start of the calendar minute that contains `date` in `timeZone`, or nothing when the
  /// calendar yields no such minute.
  [[nodiscard]] static std::optional<Date> minuteStart(Date date, const std::string& timeZone);
  /// The process's default zone (TZ or the system's), as an IANA name.
  [[nodiscard]] static std::string defaultTimeZone();
  /// Whether ICU knows the zone `name`.
  [[nodiscard]] static bool isKnownTimeZone(const std::string& name);
};

}  // namespace ostrel
