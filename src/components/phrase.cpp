#include "components/phrase.hpp"

#include <cmath>
#include <cstdint>

#include "time/date_format.hpp"

namespace ostrel {

namespace {
constexpr double firstFormatted = 720;  // minutes: twelve hours
}

std::optional<std::string> Phrase::countdown(Date date, Date now) {
  const double interval = date - now;
  // Not after now, NaN included.
  if (!(interval > 0)) return "now";
  // A positive interval so small that the quotient underflows to 0 still counts as one minute.
  const double minutes = std::fmax(std::ceil(interval / 60.0), 1.0);
  if (minutes >= firstFormatted) return std::nullopt;  // infinities too; nothing large is converted
  const auto m = static_cast<std::int64_t>(minutes);   // 1 to 719
  // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) about chained string concatenation.
  std::string out = "in ";
  if (m < 60) {
    out += std::to_string(m);
    out += " min";
    return out;
  }
  out += std::to_string(m / 60);
  out += " h";
  if (m % 60 != 0) {
    out += ' ';
    out += std::to_string(m % 60);
    out += " min";
  }
  return out;
}

std::string Phrase::until(Date date, Date now, const std::string& locale, const TimeZone& timeZone) {
  if (auto words = countdown(date, now)) return *std::move(words);
  return DateFormat::weekdayTime(date, locale, timeZone);
}

std::string Phrase::until(Date date, Date now, const Environment& env) {
  if (auto words = countdown(date, now)) return *std::move(words);
  return env.formatter()->weekdayTime(date);
}

}  // namespace ostrel
