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
///     const TimeZone z = TimeZone::named("America/Mexico_City");
///     z.offsetAt(1'781'542'800);   // -21600: no daylight time since 2022

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
  [[nodiscard]] static TimeZone utc();

  /// Seconds east of UTC in force at `utcSeconds` (seconds since 1970).
  [[nodiscard]] std::int32_t offsetAt(std::int64_t utcSeconds) const;

  /// How the zone was found: its name in the zone folder ("Asia/Kathmandu"), a path outside it,
  /// the rule text, or "UTC".
  [[nodiscard]] const std::string& name() const { return name_; }

 private:
  TimeZone() = default;
  const date::time_zone* zone_ = nullptr;  ///< transitions, from the zone database (lives for the process)
  std::optional<TzRule> rule_;             ///< after the last transition, or throughout without `zone_`
  std::string name_ = "UTC";
};

}  // namespace ostrel
