#pragma once
/// \file iso_utc.hpp
/// Instants as ISO 8601 text in UTC with milliseconds, the form every printed date of the system
/// takes (timelines, entries, the watch stream).
///
///     isoUtc(Date{1'772'445'630})   // "2026-03-02T10:00:30.000Z"

#include <string>

#include "time/date.hpp"

namespace ostrel {

/// `date` in UTC with milliseconds, truncated (never printed later than it is):
/// "2026-03-02T10:00:30.000Z". Years before 1000 get leading zeros, years after 9999 five digits;
/// "invalid" for non-finite instants and those beyond about ±25,000 years.
[[nodiscard]] std::string isoUtc(Date date);

}  // namespace ostrel
