#pragma once
/// \file date_format.hpp
/// Locale-aware display of instants through ICU, in a given locale and time zone. Only the fields
/// asked for are shown; their order, separators and 12- or 24-hour clock come from the locale.
///
///     DateFormat::weekdayTime(d, "en_US", "Australia/Sydney")   // "Mon 9:00 AM"
///     DateFormat::time(d, "de_DE", "Europe/Berlin")             // "09:00"

#include <string>

#include "platform/date.hpp"

namespace ostrel {

struct DateFormat {
  /// Abbreviated weekday, hour (with the locale's AM/PM convention) and minute. Never fails: an
  /// unknown locale or zone falls back to ICU's root locale or UTC.
  [[nodiscard]] static std::string weekdayTime(Date date, const std::string& locale,
                                               const std::string& timeZone);
  /// Hour (with the locale's AM/PM convention) and minute only.
  [[nodiscard]] static std::string time(Date date, const std::string& locale, const std::string& timeZone);
};

}  // namespace ostrel
