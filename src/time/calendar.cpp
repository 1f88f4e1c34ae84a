#include "time/calendar.hpp"

#include <cmath>
#include <cstdint>

namespace ostrel {
namespace {

// Instants beyond about ±300,000 years get no minute: no calendar means anything there.
constexpr double kCalendarLimit = 1e13;

}  // namespace

std::optional<Date> Calendar::minuteStart(Date date, const TimeZone& timeZone) {
  const double s = date.sinceEpoch;
  if (!std::isfinite(s) || std::fabs(s) > kCalendarLimit) return std::nullopt;
  // The zone's offset at this very instant, so that a wall-clock minute that occurs twice when the
  // clocks go back resolves to the occurrence that holds `date`.
  const double offset = timeZone.offsetAt(static_cast<std::int64_t>(std::floor(s)));
  const double local = s + offset;
  return Date{std::floor(local / 60.0) * 60.0 - offset};
}

}  // namespace ostrel
