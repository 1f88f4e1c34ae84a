#include "time/date_format.hpp"

#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdint>
#include <memory>

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

/// The locale's best pattern for `skeleton` as a formatter in GMT; null only when ICU has no data.
std::unique_ptr<const icu::SimpleDateFormat> formatFor(icu::DateTimePatternGenerator& generator,
                                                       const char* skeleton, const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString pattern = generator.getBestPattern(icu::UnicodeString(skeleton), status);
  if (U_FAILURE(status)) return nullptr;
  auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
  if (U_FAILURE(status)) return nullptr;
  format->adoptTimeZone(icu::TimeZone::getGMT()->clone());
  return format;
}

}  // namespace

struct DateFormatter::Patterns {
  std::unique_ptr<const icu::SimpleDateFormat> weekdayTime;
  std::unique_ptr<const icu::SimpleDateFormat> time;
};

DateFormatter::DateFormatter(std::string locale, TimeZone timeZone, std::unique_ptr<const Patterns> patterns)
    : locale_(std::move(locale)), zone_(std::move(timeZone)), patterns_(std::move(patterns)) {}

DateFormatter::~DateFormatter() = default;

std::shared_ptr<const DateFormatter> DateFormatter::make(const std::string& locale,
                                                         const TimeZone& timeZone) {
  auto patterns = std::make_unique<Patterns>();
  const icu::Locale icuLocale = localeNamed(locale);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(icuLocale, status));
  if (U_SUCCESS(status) && generator) {
    patterns->weekdayTime = formatFor(*generator, "EEEjmm", icuLocale);
    patterns->time = formatFor(*generator, "jmm", icuLocale);
  }
  return std::make_shared<const DateFormatter>(locale, timeZone, std::move(patterns));
}

namespace {

/// `date` shown by `format` as the wall-clock time of `zone`: ICU formats in GMT the instant moved
/// by the zone's offset then, so the system's zone data decide the local time, ICU only the
/// locale's patterns and names. Empty when ICU had no data.
std::string shown(const icu::SimpleDateFormat* format, const TimeZone& zone, Date date) {
  if (format == nullptr) return {};
  const double millis = clampedMillis(date);
  const auto seconds = static_cast<std::int64_t>(std::floor(millis / 1000.0));
  icu::UnicodeString text;
  format->format(millis + zone.offsetAt(seconds) * 1000.0, text);
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

std::string DateFormatter::weekdayTime(Date date) const {
  return shown(patterns_->weekdayTime.get(), zone_, date);
}

std::string DateFormatter::time(Date date) const {
  return shown(patterns_->time.get(), zone_, date);
}

std::string DateFormat::weekdayTime(Date date, const std::string& locale, const TimeZone& timeZone) {
  return DateFormatter::make(locale, timeZone)->weekdayTime(date);
}

std::string DateFormat::time(Date date, const std::string& locale, const TimeZone& timeZone) {
  return DateFormatter::make(locale, timeZone)->time(date);
}

}  // namespace ostrel
