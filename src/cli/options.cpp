#include "cli/options.hpp"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "feed/date_rule.hpp"
#include "platform/calendar.hpp"
#include "platform/json_writer.hpp"
#include "platform/locale_name.hpp"

namespace ostrel::cli {

CLI::Validator instantValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        return parseDate(text) ? std::string{} : "not an ISO 8601 date-time with a zone: " + text;
      },
      "ISO8601");
}

Date instant(const std::string& text) {
  return parseDate(text).value_or(Date{});
}

namespace {

// Beyond about ±25,000 years the civil calendar of <chrono> has no year for the day.
constexpr double kIsoLimit = 8e11;

CLI::Validator zoneValidator() {
  return CLI::Validator(
      [](std::string& name) -> std::string {
        return Calendar::isKnownTimeZone(name) ? std::string{} : "unknown time zone: " + name;
      },
      "ZONE");
}

CLI::Validator localeValidator() {
  return CLI::Validator(
      [](std::string& name) -> std::string {
        return LocaleName::isKnown(name) ? std::string{} : "unknown locale: " + name;
      },
      "NAME");
}

}  // namespace

void addHostOptions(CLI::App& cmd, HostOptions& options, std::initializer_list<HostOption> offered) {
  for (const HostOption option : offered) {
    switch (option) {
      case HostOption::feed:
        cmd.add_option("--feed", options.feed, "Feed document to read (default: the fixed feed location)");
        break;
      case HostOption::now:
        cmd.add_option("--now", options.now,
                       "Pin the host's clock to this instant (default: the system clock)")
            ->check(instantValidator());
        break;
      case HostOption::tz:
        cmd.add_option("--tz", options.tz,
                       "Time zone as TZ names it: a zone such as Australia/Sydney, a zone file's path or a "
                       "POSIX rule such as AEST-10AEDT,M10.1.0,M4.1.0/3 (default: TZ, else the system's)")
            ->check(zoneValidator());
        break;
      case HostOption::locale:
        cmd.add_option("--locale", options.locale,
                       "Locale, such as en_AU or de_DE (default: the environment's)")
            ->check(localeValidator());
        break;
      case HostOption::json:
        cmd.add_flag("--json", options.json, "Print JSON instead of a table");
        break;
    }
  }
}

void addHostOptions(CLI::App& cmd, HostOptions& options, bool withJson) {
  addHostOptions(cmd, options, {HostOption::feed, HostOption::now, HostOption::tz, HostOption::locale});
  if (withJson) addHostOptions(cmd, options, {HostOption::json});
}

CLI::Validator finiteRange(double low, double high) {
  return CLI::Validator(
      [low, high](std::string& text) -> std::string {
        double value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (error != std::errc{} || stop != end || !std::isfinite(value) || value < low || value > high) {
          return "not a number from " + JsonWriter::numberText(low) + " to " + JsonWriter::numberText(high) +
                 ": " + text;
        }
        return {};
      },
      "NUMBER");
}

HostSettings resolve(const HostOptions& options) {
  Host host{
      .clock = options.now.empty() ? Clock::system() : Clock::fixed(instant(options.now)),
      .feed = options.feed.empty() ? FeedFile::url() : std::filesystem::path(options.feed),
      .timeZone = options.tz.empty() ? Calendar::defaultTimeZone() : options.tz,
  };
  return HostSettings{.host = std::move(host),
                      .locale = options.locale.empty() ? LocaleName::fromEnvironment() : options.locale,
                      .json = options.json};
}

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

}  // namespace ostrel::cli
