#include "time/iso_zoned.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "time/iso_utc.hpp"

namespace ostrel {

std::string isoZoned(Date date, const TimeZone& timeZone) {
  std::string utc = isoUtc(date);
  if (utc.empty() || utc.back() != 'Z') return utc;  // "invalid": no zone makes it valid
  const std::int32_t offset = timeZone.offsetAt(static_cast<std::int64_t>(std::floor(date.sinceEpoch)));
  std::string text = isoUtc(date + offset);
  if (text.empty() || text.back() != 'Z') return utc;
  const std::int32_t a = std::abs(offset);
  char zone[16];
  if (a % 60 == 0) {
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', a / 3600, a / 60 % 60);
  } else {
    std::snprintf(zone, sizeof zone, "%c%02d:%02d:%02d", offset < 0 ? '-' : '+', a / 3600, a / 60 % 60,
                  a % 60);
  }
  text.pop_back();
  return text + zone;
}

}  // namespace ostrel
