#pragma once
/// \file tz_rule.hpp
/// A time zone written as a POSIX TZ rule, read as the C library reads the TZ variable and the last
/// line of a zone file: a standard name and offset, optionally a daylight name, offset and the two
/// days and times of the year on which daylight time starts and ends.
///
///     auto sydney = TzRule::parse("AEST-10AEDT,M10.1.0,M4.1.0/3");
///     sydney->offsetAt(1'781'542'800);   // 36000: 2026-06-15 is winter in Sydney
///     TzRule::parse("<+0545>-5:45")->offsetAt(0);   // 20700
///
/// Offsets in the text count west of Greenwich ("EST5" is five hours behind UTC); offsets handed
/// back count east, in seconds. Transition times may run from −167 to 167 hours, as zone files
/// write them ("M3.5.0/-1", "M3.4.4/50"). A daylight name without its start or end rule takes the
/// United States' (second Sunday of March, first Sunday of November, at 02:00), as the C library
/// does. A rule whose daylight time starts after it ends in a year covers the turn of the year.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

struct TzRule {
  /// A day of the year and a local time on it.
  struct Change {
    enum class Kind {
      julian,     ///< "Jn": day n from 1 to 365, 29 February never counted
      dayOfYear,  ///< "n": day n from 0 to 365, 29 February counted in leap years
      monthWeek,  ///< "Mm.w.d": weekday d (0 Sunday) of week w (5: the last) of month m
    };
    Kind kind = Kind::monthWeek;
    int day = 0;                   ///< n for the two day kinds, the weekday for monthWeek
    int month = 0;                 ///< monthWeek only
    int week = 0;                  ///< monthWeek only
    std::int32_t time = 2 * 3600;  ///< seconds after local midnight, in the time that is ending
    friend bool operator==(const Change&, const Change&) = default;
  };
  struct Daylight {
    std::string name;
    std::int32_t offset = 0;  ///< seconds east of UTC
    Change start, end;
    friend bool operator==(const Daylight&, const Daylight&) = default;
  };

  std::string standardName;
  std::int32_t standardOffset = 0;  ///< seconds east of UTC
  std::optional<Daylight> daylight;

  /// The rule `text` spells, or nothing when it is not a whole, well-formed rule.
  [[nodiscard]] static std::optional<TzRule> parse(std::string_view text);

  /// Seconds east of UTC in force at `utcSeconds` (seconds since 1970). Daylight time is decided
  /// within the UTC year of the instant, as the C library decides it.
  [[nodiscard]] std::int32_t offsetAt(std::int64_t utcSeconds) const;

  friend bool operator==(const TzRule&, const TzRule&) = default;
};

}  // namespace ostrel
