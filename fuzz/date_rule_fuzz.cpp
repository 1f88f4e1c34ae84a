// Text in: the date rule must not crash; an accepted text gives a finite instant, and that instant,
// written back in UTC without a fraction, is read as the same whole second.
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "feed/date_rule.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text{reinterpret_cast<const char*>(data), size};
  const auto date = ostrel::parseDate(text);
  if (date != ostrel::parseDate(text)) std::abort();
  if (!date) return 0;
  if (!std::isfinite(date->sinceEpoch) || size < 20) std::abort();
  const auto whole = static_cast<std::int64_t>(std::floor(date->sinceEpoch));
  const std::chrono::sys_seconds instant{std::chrono::seconds{whole}};
  const auto day = std::chrono::floor<std::chrono::days>(instant);
  const std::chrono::year_month_day ymd{day};
  const std::chrono::hh_mm_ss time{instant - day};
  const int year = static_cast<int>(ymd.year());
  if (year < 0 || year > 9999) return 0;  // an offset carried it outside the four-digit years
  char back[32];
  std::snprintf(back, sizeof back, "%04d-%02u-%02uT%02d:%02d:%02dZ", year, static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  const auto again = ostrel::parseDate(back);
  if (!again || again->sinceEpoch != static_cast<double>(whole)) std::abort();
  return 0;
}
