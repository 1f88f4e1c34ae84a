#pragma once
/// \file calendar.hpp
/// The user's calendar and time zone, through ICU: the start of the calendar minute holding an
/// instant, and the names of zones and locales the host accepts.

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
  /// Whether `name` is a locale ICU has data for: a language ICU knows ("en", "de_DE", "en-AU",
  /// "zh_Hans_CN"), with a country, if any, that is an ISO 3166 code or a numeric region. Names
  /// with a codeset ("en_AU.UTF-8") or other punctuation are not locale names here.
  [[nodiscard]] static bool isKnownLocale(const std::string& name);
  /// The locale of the environment: the first of LC_ALL, LC_TIME and LANG that is set and not
  /// empty, without its codeset and modifier; "en_US" when that is C, POSIX or not a known locale.
  [[nodiscard]] static std::string defaultLocale();
  /// `defaultLocale()` for given values of LC_ALL, LC_TIME and LANG (null: unset).
  [[nodiscard]] static std::string localeFrom(const char* lcAll, const char* lcTime, const char* lang);
};

}  // namespace ostrel
