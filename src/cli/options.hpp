#pragma once
/// \file options.hpp
/// The options every subcommand shares, and their resolution into what the host lends the provider.
///
///     auto o = std::make_shared<CommonOptions>();   // outlives parsing: the callback reads it
///     addCommonOptions(*cmd, *o, {CommonOption::feed, CommonOption::now, CommonOption::tz, CommonOption::json});
///     cmd->callback([o] {
///       const CommonSettings s = resolve(*o);       // Services{clock, feed, timeZone}, locale, json
///       Provider{}.getTimeline({.isPreview = false, .services = s.services}, ...);
///     });
///
/// | option            | default                          | resolved into                 |
/// |-------------------|----------------------------------|-------------------------------|
/// | `--feed FILE`     | `FeedFile::url()`                | `services.feed` (read by `load()`) |
/// | `--now ISO8601`   | the system clock                 | `services.clock` (`Clock::fixed`) |
/// | `--tz ZONE`       | `TimeZone::local()`              | `services.timeZone`               |
/// | `--locale NAME`   | `LocaleName::fromEnvironment()`  | `locale`                      |
/// | `--json`          | off (a table for people)         | `json`                        |
///
/// Each subcommand offers only the options it uses, so an option that would change nothing is
/// refused rather than silently ignored:
///
/// | subcommand    | --feed | --now | --tz | --locale | --json |
/// |---------------|--------|-------|------|----------|--------|
/// | `timeline`    | yes    | yes   | yes  |          | yes    |
/// | `entry`       | yes    |       | yes  |          | yes    |
/// | `snapshot`    | yes    | yes   | yes  |          | yes    |
/// | `placeholder` |        | yes   | yes  |          | yes    |
/// | `tree`        | yes    | yes   | yes  | yes      | yes    |
/// | `render`, `gallery` | yes | yes | yes  | yes      |        |
///
/// All of them hand `CommonSettings::services` to the provider, so they see the same pinned clock, feed
/// and zone. Values are checked while the command line is parsed (CLI11 validators), so an
/// unparsable `--now`, an unknown `--tz` or `--locale` is a parse error: "ostrel-widgets: error:
/// --tz: unknown time zone: X" on stderr and exit status 2; `resolve` therefore never fails.

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <optional>
#include <string>

#include "time/date.hpp"
#include "time/iso_utc.hpp"
#include "timeline/services.hpp"

namespace ostrel::cli {

/// The options shared by the subcommands, as typed.
struct CommonOptions {
  std::string feed;    ///< empty: the fixed feed location
  std::string now;     ///< empty: the system clock
  std::string tz;      ///< empty: the environment's zone
  std::string locale;  ///< empty: the environment's locale
  bool json = false;
};

/// One of the shared options.
enum class CommonOption { feed, now, tz, locale, json };

/// Adds the `offered` shared options to `cmd`, in the order given.
void addCommonOptions(CLI::App& cmd, CommonOptions& options, std::initializer_list<CommonOption> offered);
/// Adds --feed, --now, --tz, --locale and, with `withJson`, --json.
void addCommonOptions(CLI::App& cmd, CommonOptions& options, bool withJson = true);

/// The shared options resolved.
struct CommonSettings {
  Services services;
  std::string locale;
  bool json = false;
};

/// Resolves checked options (defaults filled in).
[[nodiscard]] CommonSettings resolve(const CommonOptions& options);

/// The end of a subcommand's --help: the `examples`, one command line each, and, when the
/// subcommand reads the feed, where from (this user's full default path).
[[nodiscard]] std::string helpFooter(std::initializer_list<const char*> examples, bool readsFeed = true);

/// A validator accepting what the feed's date rule accepts.
[[nodiscard]] CLI::Validator instantValidator();
/// A validator accepting a finite number from `low` to `high` (CLI::Range lets NaN through).
[[nodiscard]] CLI::Validator finiteRange(double low, double high);
/// The instant `text` names (already validated).
[[nodiscard]] Date instant(const std::string& text);

/// Dates are printed in UTC with milliseconds (time/iso_utc.hpp).
using ostrel::isoUtc;

}  // namespace ostrel::cli
