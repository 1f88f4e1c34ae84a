#include "platform/calendar.hpp"

#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace ostrel {
namespace {

std::unique_ptr<icu::TimeZone> zoneNamed(const std::string& name) {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(name)));
  if (!zone || *zone == icu::TimeZone::getUnknown()) return nullptr;
  return zone;
}

// ICU's calendars cover roughly ±2.9e14 years in milliseconds, but the Gregorian calendar fields
// are only meaningful far inside that; instants beyond ±1e16 ms (about 300,000 years) get no minute.
constexpr double kCalendarLimitMs = 1e16;

}  // namespace

std::optional<Date> Calendar::minuteStart(Date date, const std::string& timeZone) {
  const double ms = date.sinceEpoch * 1000.0;
  if (!std::isfinite(ms) || std::fabs(ms) > kCalendarLimitMs) return std::nullopt;
  std::unique_ptr<icu::TimeZone> zone = zoneNamed(timeZone);
  if (!zone) return std::nullopt;
  // The zone's offset at this very instant (standard plus daylight), so that a wall-clock minute
  // that occurs twice when the clocks go back resolves to the occurrence that holds `date`.
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t raw = 0;
  std::int32_t dst = 0;
  zone->getOffset(ms, false, raw, dst, status);
  if (U_FAILURE(status)) return std::nullopt;
  const double offset = static_cast<double>(raw) + static_cast<double>(dst);
  const double local = ms + offset;
  const double start = std::floor(local / 60'000.0) * 60'000.0 - offset;
  return Date{start / 1000.0};
}

std::string Calendar::defaultTimeZone() {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  icu::UnicodeString id;
  if (zone) zone->getID(id);
  std::string out;
  id.toUTF8String(out);
  if (out.empty() || out == "Etc/Unknown") return "UTC";
  return out;
}

bool Calendar::isKnownTimeZone(const std::string& name) {
  return zoneNamed(name) != nullptr;
}

}  // namespace ostrel
