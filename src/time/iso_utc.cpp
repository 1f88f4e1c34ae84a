#include "time/iso_utc.hpp"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace ostrel {
namespace {

// Beyond about ±25,000 years the civil calendar of <chrono> has no year for the day.
constexpr double kIsoLimit = 8e11;

}  // namespace

std::string isoUtc(Date date) {
  using namespace std::chrono;
  const double s = date.sinceEpoch;
  if (!std::isfinite(s) || std::fabs(s) > kIsoLimit) return "invalid";
  // Truncated, never rounded up: an instant prints as no later than it is, so a "now" in the last
  // half millisecond of a minute does not print as the next minute mark. A value a few units in the
  // last place below a whole millisecond is that millisecond (".123" is not exact in binary).
  const double scaled = s * 1000.0;
  const double slack = std::fabs(scaled) * 4 * std::numeric_limits<double>::epsilon();
  const auto ms = static_cast<std::int64_t>(std::floor(scaled + slack));
  constexpr std::int64_t msPerDay = 86'400'000;
  const std::int64_t dayCount = (ms >= 0 ? ms : ms - (msPerDay - 1)) / msPerDay;
  const std::int64_t inDay = ms - dayCount * msPerDay;
  const year_month_day ymd{sys_days{days{static_cast<int>(dayCount)}}};
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(inDay / 3'600'000), static_cast<int>(inDay / 60'000 % 60),
                static_cast<int>(inDay / 1000 % 60), static_cast<int>(inDay % 1000));
  return buf;
}

}  // namespace ostrel
