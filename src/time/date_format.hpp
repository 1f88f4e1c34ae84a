#pragma once
/// \file date_format.hpp
/// Locale-aware display of instants, in a given locale and time zone. The local time comes from the
/// system's zone data (time_zone.hpp); the fields' names, order, separators and 12- or 24-hour
/// clock come from the locale, through ICU. Only the fields asked for are shown.
///
/// A `DateFormatter` is built once for a locale and zone (the locale's patterns found) and then
/// formats any number of instants; it never changes, so one may be shared.
///
///     const auto f = DateFormatter::make("en_US", TimeZone::named("Australia/Sydney"));
///     f->weekdayTime(d)                                          // "Mon 9:00 AM"
///     DateFormat::time(d, "de_DE", berlin)                       // "09:00" (a formatter for one call)

#include <memory>
#include <string>

#include "time/date.hpp"
#include "time/time_zone.hpp"

namespace ostrel {

class DateFormatter {
 public:
  /// The formatter for a locale and zone. Never fails: an unknown locale falls back to ICU's root
  /// locale.
  [[nodiscard]] static std::shared_ptr<const DateFormatter> make(const std::string& locale,
                                                                 const TimeZone& timeZone);

  /// Abbreviated weekday, hour (with the locale's AM/PM convention) and minute.
  [[nodiscard]] std::string weekdayTime(Date date) const;
  /// Hour (with the locale's AM/PM convention) and minute only.
  [[nodiscard]] std::string time(Date date) const;

  /// Whether this formatter is the one for that locale and zone.
  [[nodiscard]] bool isFor(const std::string& locale, const TimeZone& timeZone) const {
    return locale == locale_ && timeZone == zone_;
  }
  [[nodiscard]] const TimeZone& zone() const { return zone_; }

  struct Patterns;  ///< ICU's formatters, fixed to GMT (the zone's offset is added before formatting)
  DateFormatter(std::string locale, TimeZone timeZone, std::unique_ptr<const Patterns> patterns);
  DateFormatter(const DateFormatter&) = delete;
  DateFormatter& operator=(const DateFormatter&) = delete;
  DateFormatter(DateFormatter&&) = delete;
  DateFormatter& operator=(DateFormatter&&) = delete;
  ~DateFormatter();

 private:
  std::string locale_;
  TimeZone zone_;
  std::unique_ptr<const Patterns> patterns_;
};

struct DateFormat {
  /// `DateFormatter::weekdayTime`, with a formatter made for this one call.
  [[nodiscard]] static std::string weekdayTime(Date date, const std::string& locale,
                                               const TimeZone& timeZone);
  /// `DateFormatter::time`, with a formatter made for this one call.
  [[nodiscard]] static std::string time(Date date, const std::string& locale, const TimeZone& timeZone);
};

}  // namespace ostrel
