#include "platform/calendar.hpp"

#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

namespace ostrel {

bool Calendar::isKnownLocale(const std::string& name) {
  if (name.empty() || name.size() > 64) return false;
  for (const char c : name) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '_' || c == '-' || c == '@' || c == '=' || c == ';';
    if (!allowed) return false;
  }
  const icu::Locale locale(name.c_str());
  if (locale.isBogus() || locale.getLanguage()[0] == '\0') return false;

  bool language = false;
  std::int32_t count = 0;
  const icu::Locale* available = icu::Locale::getAvailableLocales(count);
  for (std::int32_t i = 0; i < count && !language; ++i) {
    language = std::strcmp(available[i].getLanguage(), locale.getLanguage()) == 0;
  }
  if (!language) return false;

  const char* country = locale.getCountry();
  if (country[0] == '\0') return true;
  if (std::strlen(country) == 3 && std::strspn(country, "0123456789") == 3) return true;
  for (const char* const* iso = icu::Locale::getISOCountries(); *iso != nullptr; ++iso) {
    if (std::strcmp(*iso, country) == 0) return true;
  }
  return false;
}

std::string Calendar::defaultLocale() {
  return localeFrom(std::getenv("LC_ALL"), std::getenv("LC_TIME"), std::getenv("LANG"));
}

std::string Calendar::localeFrom(const char* lcAll, const char* lcTime, const char* lang) {
  for (const char* value : {lcAll, lcTime, lang}) {
    if (value == nullptr || *value == '\0') continue;
    std::string name(value);
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX" || !isKnownLocale(name)) return "en_US";
    return name;
  }
  return "en_US";
}

}  // namespace ostrel
