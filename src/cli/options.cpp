#include "cli/options.hpp"

#include <unicode/locid.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "feed/date_rule.hpp"
#include "platform/calendar.hpp"

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
        const icu::Locale l(name.c_str());
        const bool ok =
            !l.isBogus() && l.getLanguage()[0] != '\0' && name.find_first_of(" /\\") == std::string::npos;
        return ok ? std::string{} : "not a locale name: " + name;
      },
      "NAME");
}

}  // namespace

void addHostOptions(CLI::App& cmd, HostOptions& options, bool withJson) {
  cmd.add_option("--feed", options.feed, "Feed document to read (default: the fixed feed location)");
  cmd.add_option("--now", options.now, "Pin the host's clock to this instant (default: the system clock)")
      ->check(instantValidator());
  cmd.add_option("--tz", options.tz,
                 "Time zone, an IANA name such as Australia/Sydney (default: the system's)")
      ->check(zoneValidator());
  cmd.add_option("--locale", options.locale, "Locale, such as en_AU or de_DE (default: the environment's)")
      ->check(localeValidator());
  if (withJson) cmd.add_flag("--json", options.json, "Print JSON instead of a table");
}

std::string environmentLocale() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v == nullptr || *v == '\0') continue;
    std::string s(v);
    s = s.substr(0, s.find_first_of(".@"));
    if (s.empty() || s == "C" || s == "POSIX") return "en_US";
    return s;
  }
  return "en_US";
}

HostSettings resolve(const HostOptions& options) {
  Host host{
      .clock = options.now.empty() ? Clock::system() : Clock::fixed(instant(options.now)),
      .feed = options.feed.empty() ? FeedFile::url() : std::filesystem::path(options.feed),
      .timeZone = options.tz.empty() ? Calendar::defaultTimeZone() : options.tz,
  };
  return HostSettings{.host = std::move(host),
                      .locale = options.locale.empty() ? environmentLocale() : options.locale,
                      .json = options.json};
}

std::string isoUtc(Date date) {
  using namespace std::chrono;
  const double s = date.sinceEpoch;
  if (!std::isfinite(s) || std::fabs(s) > 2.5e11) return "invalid";
  const std::int64_t ms = std::llround(s * 1000.0);
  const sys_days day{days{static_cast<int>(std::floor(static_cast<double>(ms) / 86'400'000.0))}};
  const std::int64_t inDay = ms - static_cast<std::int64_t>(day.time_since_epoch().count()) * 86'400'000;
  const year_month_day ymd{day};
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<long long>(inDay / 3'600'000), static_cast<long long>(inDay / 60'000 % 60),
                static_cast<long long>(inDay / 1000 % 60), static_cast<long long>(inDay % 1000));
  return buf;
}

}  // namespace ostrel::cli
