#include "platform/date_format.hpp"

#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/time_zone.hpp"

namespace ostrel {

namespace {

// The instants ICU is asked to format: 0001-01-01T00:00:00Z to 9999-12-31T23:59:59Z. ICU's own
// calendar reaches much further, but nothing outside these years has a meaning here, and clamping
// keeps infinities and huge values away from its millisecond arithmetic.
constexpr double earliest = -62'135'596'800.0;
constexpr double latest = 253'402'300'799.0;

double clampedMillis(Date date) {
  double s = date.sinceEpoch;
  if (std::isnan(s)) s = earliest;
  if (s < earliest) s = earliest;
  if (s > latest) s = latest;
  return s * 1000.0;
}

icu::Locale localeNamed(const std::string& name) {
  // Accepts both ICU ("de_DE", "de-DE") and POSIX ("de_DE.UTF-8") spellings.
  icu::Locale locale = icu::Locale::createCanonical(name.c_str());
  if (locale.isBogus()) return icu::Locale::getRoot();
  return locale;
}

/// The zone's offset at the instant, as a fixed-offset zone for ICU: the system's zone data decide
/// the local time, ICU only the locale's patterns and names.
std::unique_ptr<icu::TimeZone> zoneAt(double millis, const std::string& name) {
  const auto seconds = static_cast<std::int64_t>(std::floor(millis / 1000.0));
  const std::int32_t offset = TimeZone::named(name).offsetAt(seconds);
  return std::make_unique<icu::SimpleTimeZone>(offset * 1000, icu::UnicodeString::fromUTF8(name));
}

/// Formats `date` with the locale's best pattern for `skeleton`; empty only when ICU has no data.
std::string formatted(Date date, const char* skeleton, const std::string& localeName,
                      const std::string& timeZone) {
  const icu::Locale locale = localeNamed(localeName);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_FAILURE(status) || !generator) return {};
  const icu::UnicodeString pattern = generator->getBestPattern(icu::UnicodeString(skeleton), status);
  if (U_FAILURE(status)) return {};
  icu::SimpleDateFormat format(pattern, locale, status);
  if (U_FAILURE(status)) return {};
  const double millis = clampedMillis(date);
  format.adoptTimeZone(zoneAt(millis, timeZone).release());
  icu::UnicodeString text;
  format.format(millis, text);
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

std::string DateFormat::weekdayTime(Date date, const std::string& locale, const std::string& timeZone) {
  return formatted(date, "EEEjmm", locale, timeZone);
}

std::string DateFormat::time(Date date, const std::string& locale, const std::string& timeZone) {
  return formatted(date, "jmm", locale, timeZone);
}

}  // namespace ostrel
