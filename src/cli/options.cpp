#include "cli/options.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/json_writer.hpp"
#include "feed/date_rule.hpp"
#include "feed/feed_file.hpp"
#include "time/locale_name.hpp"
#include "time/time_zone.hpp"

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
        return TimeZone::isKnown(name) ? std::string{} : "unknown time zone: " + name;
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

void addCommonOptions(CLI::App& cmd, CommonOptions& options, std::initializer_list<CommonOption> offered) {
  for (const CommonOption option : offered) {
    switch (option) {
      case CommonOption::feed:
        cmd.add_option("--feed", options.feed,
                       "Feed document to read (default: " + FeedFile::url().string() + ")");
        break;
      case CommonOption::now:
        cmd.add_option("--now", options.now,
                       "Pin the host's clock to this instant (default: the system clock)")
            ->check(instantValidator());
        break;
      case CommonOption::tz:
        cmd.add_option("--tz", options.tz,
                       "Time zone as TZ names it: a zone such as Australia/Sydney, a zone file's path or a "
                       "POSIX rule such as AEST-10AEDT,M10.1.0,M4.1.0/3 (default: TZ, else the system's)")
            ->check(zoneValidator());
        break;
      case CommonOption::locale:
        cmd.add_option("--locale", options.locale,
                       "Locale, such as en_AU or de_DE (default: the environment's)")
            ->check(localeValidator());
        break;
      case CommonOption::json:
        cmd.add_flag("--json", options.json, "Print JSON instead of a table");
        break;
    }
  }
}

void addCommonOptions(CLI::App& cmd, CommonOptions& options, bool withJson) {
  addCommonOptions(cmd, options,
                   {CommonOption::feed, CommonOption::now, CommonOption::tz, CommonOption::locale});
  if (withJson) addCommonOptions(cmd, options, {CommonOption::json});
}

std::string helpFooter(std::initializer_list<const char*> examples, bool readsFeed) {
  std::string text = "Examples:\n";
  for (const char* example : examples) text.append("  ").append(example).append("\n");
  if (readsFeed) {
    text += "The feed is read from --feed FILE, else from the app's location for this user:\n  ";
    text += FeedFile::url().string();
    text += "\n";
  }
  return text;
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

CommonSettings resolve(const CommonOptions& options) {
  Services services{
      .clock = options.now.empty() ? Clock::system() : Clock::fixed(instant(options.now)),
      .feed = options.feed.empty() ? FeedFile::url() : std::filesystem::path(options.feed),
      .timeZone = options.tz.empty() ? TimeZone::local() : TimeZone::named(options.tz),
  };
  return CommonSettings{.services = std::move(services),
                        .locale = options.locale.empty() ? LocaleName::fromEnvironment() : options.locale,
                        .json = options.json};
}

}  // namespace ostrel::cli
