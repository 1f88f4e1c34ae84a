#pragma once
/// \file date_format.hpp
/// Locale-aware display of instants, in a given locale and time zone. The local time comes from the
/// system's zone data (time_zone.hpp); the fields' names, order, separators and 12- or 24-hour
/// clock come from the locale, through ICU. Only the fields asked for are shown.
///
///     DateFormat::weekdayTime(d, "en_US", "Australia/Sydney")   // "Mon 9:00 AM"
///     DateFormat::time(d, "de_DE", "Europe/Berlin")             // "09:00"

#include <string>

#include "platform/date.hpp"

namespace ostrel {

struct DateFormat {
  /// Abbreviated weekday, hour (with the locale's AM/PM convention) and minute. Never fails: an
  /// unknown locale falls back to ICU's root locale, a zone that names nothing is UTC.
  [[nodiscard]] static std::string weekdayTime(Date date, const std::string& locale,
                                               const std::string& timeZone);
  /// Hour (with the locale's AM/PM convention) and minute only.
  [[nodiscard]] static std::string time(Date date, const std::string& locale, const std::string& timeZone);
};

}  // namespace ostrel
