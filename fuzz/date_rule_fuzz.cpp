// Text in: the date rule must not crash; an accepted text gives a finite instant, and that instant,
// written back in UTC without a fraction, is read as the same whole second.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "feed/date_rule.hpp"

namespace {

/// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text{reinterpret_cast<const char*>(data), size};
  const auto date = ostrel::parseDate(text);
  if (date != ostrel::parseDate(text)) std::abort();
  if (!date) return 0;
  if (!std::isfinite(date->sinceEpoch) || size < 20) std::abort();
  const auto whole = static_cast<std::int64_t>(std::floor(date->sinceEpoch));
  const std::int64_t days = (whole >= 0 ? whole : whole - 86399) / 86400;
  const std::int64_t secs = whole - days * 86400;
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  civilFromDays(days, y, m, d);
  if (y < 0 || y > 9999) return 0;  // an offset carried it outside the four-digit years
  char back[32];
  std::snprintf(back, sizeof back, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(y), m, d,
                static_cast<long long>(secs / 3600), static_cast<long long>(secs / 60 % 60),
                static_cast<long long>(secs % 60));
  const auto again = ostrel::parseDate(back);
  if (!again || again->sinceEpoch != static_cast<double>(whole)) std::abort();
  return 0;
}
