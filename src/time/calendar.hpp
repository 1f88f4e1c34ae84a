#pragma once
/// \file calendar.hpp
/// The user's calendar and time zone: the start of the calendar minute holding an instant, the zone
/// the environment names, and the zones the host accepts. Zones are named as the C library's TZ
/// variable names them (time_zone.hpp): "Asia/Kathmandu", ":Asia/Kathmandu", a zone file's path, or
/// a POSIX rule such as "AEST-10AEDT,M10.1.0,M4.1.0/3"; a name that names nothing is UTC.

#include <optional>
#include <string>

#include "time/date.hpp"

namespace ostrel {

struct Calendar {
  /// The start of the calendar minute that contains `date` in `timeZone`, or nothing for an
  /// instant that is not finite or lies beyond about 300,000 years from 1970.
  [[nodiscard]] static std::optional<Date> minuteStart(Date date, const std::string& timeZone);
  /// The zone the environment names, as the C library reads TZ: its value, or the system's zone
  /// (/etc/localtime) when it is unset, spelled as `TimeZone::name()` spells it ("UTC" when the
  /// value names nothing).
  [[nodiscard]] static std::string defaultTimeZone();
  /// Whether `name` names a zone (a zone file or a POSIX rule); the empty name does not.
  [[nodiscard]] static bool isKnownTimeZone(const std::string& name);
};

}  // namespace ostrel
