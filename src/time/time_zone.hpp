#pragma once
/// \file time_zone.hpp
/// The user's time zone from the system's own zone data (/usr/share/zoneinfo), named the ways the
/// C library accepts in TZ:
///
/// | value                                   | zone                                                   |
/// |-----------------------------------------|--------------------------------------------------------|
/// | unset                                   | the system's, /etc/localtime                           |
/// | "" (set but empty)                      | UTC                                                    |
/// | "Asia/Kathmandu", ":Asia/Kathmandu"     | the zone file of that name                             |
/// | "/usr/share/zoneinfo/Asia/Kathmandu"    | the zone file at that path                             |
/// | "AEST-10AEDT,M10.1.0,M4.1.0/3"          | that POSIX rule (tz_rule.hpp)                          |
/// | anything else ("Mars/Base")             | nothing: UTC where a zone is needed                    |
///
/// A zone file's transitions are read through the `date/tz` library (built on the system's zone
/// files); after its last transition the rule on the file's last line applies, as the C library
/// applies it. A file found outside the zone folder is known by that rule alone.
///
/// A `TimeZone` is a value: its file is read once, when it is named, and the value is then held and
/// handed to whatever shows times (the calendar minute, ISO forms, date formatting).
///
///     const TimeZone z = TimeZone::named("America/Mexico_City");
///     z.offsetAt(1'781'542'800);   // -21600: no daylight time since 2022
///     TimeZone::isKnown("Mars/Base");   // false: `--tz` refuses it

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "time/tz_rule.hpp"

namespace date {
class time_zone;
}  // namespace date

namespace ostrel {

class TimeZone {
 public:
  /// The zone a TZ value names; UTC when it names none.
  [[nodiscard]] static TimeZone named(std::string_view tz);
  /// The zone a TZ value names, or nothing when it names none (for checking what a user typed).
  [[nodiscard]] static std::optional<TimeZone> find(std::string_view tz);
  /// The zone of the TZ variable's value `tz` (null: unset, the system's zone).
  [[nodiscard]] static TimeZone fromEnvironment(const char* tz);
  /// The zone the environment names, as the C library reads TZ: its value, or the system's zone
  /// (/etc/localtime) when it is unset.
  [[nodiscard]] static TimeZone local();
  [[nodiscard]] static TimeZone utc();
  /// Whether `name` names a zone (a zone file or a POSIX rule); the empty name does not.
  [[nodiscard]] static bool isKnown(std::string_view name);

  /// Seconds east of UTC in force at `utcSeconds` (seconds since 1970).
  [[nodiscard]] std::int32_t offsetAt(std::int64_t utcSeconds) const;

  /// The zone's name: the text it was named by (`named`, `find`: ":Asia/Kathmandu", a path, a rule);
  /// for the environment's zone, its name in the zone folder where its file lies there
  /// ("Asia/Kathmandu" for /etc/localtime linked there), else its TZ text; "UTC" for the zone of an
  /// empty name or of one that names nothing.
  [[nodiscard]] const std::string& name() const { return name_; }

  /// The same zone named the same way.
  friend bool operator==(const TimeZone&, const TimeZone&) = default;

 private:
  TimeZone() = default;
  /// The zone `tz` names, called by its name in the zone folder where it has one.
  [[nodiscard]] static std::optional<TimeZone> lookUp(std::string_view tz);

  const date::time_zone* zone_ = nullptr;  ///< transitions, from the zone database (lives for the process)
  std::optional<TzRule> rule_;             ///< after the last transition, or throughout without `zone_`
  std::string name_ = "UTC";
};

}  // namespace ostrel
