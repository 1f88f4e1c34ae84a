#pragma once
/// \file iso_zoned.hpp
/// Instants as ISO 8601 text in a time zone: the wall-clock date and time there, with milliseconds
/// and the zone's offset from UTC at that instant. The text reads back (as `--now` or `--at`) to the
/// same instant, except for the odd historical offset with seconds, which ISO 8601 cannot write.
///
///     isoZoned(Date{1'772'445'630}, TimeZone::named("Australia/Sydney"))   // "2026-03-02T21:00:30.000+11:00"
///     isoZoned(Date{1'772'445'630}, TimeZone::utc())                       // "2026-03-02T10:00:30.000+00:00"

#include <string>

#include "time/date.hpp"
#include "time/time_zone.hpp"

namespace ostrel {

/// `date` in `timeZone` with the offset in effect there, "+hh:mm" (or "+hh:mm:ss" for the odd
/// historical offset with seconds); "invalid" where `isoUtc` has no text for the instant.
[[nodiscard]] std::string isoZoned(Date date, const TimeZone& timeZone);

}  // namespace ostrel
