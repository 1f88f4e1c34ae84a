#pragma once
/// \file options.hpp
/// The options every subcommand shares, and their resolution into what the host lends the provider.
///
///     auto o = std::make_shared<HostOptions>();   // outlives parsing: the callback reads it
///     addHostOptions(*cmd, *o, {HostOption::feed, HostOption::now, HostOption::tz, HostOption::json});
///     cmd->callback([o] {
///       const HostSettings s = resolve(*o);       // Host{clock, feed, timeZone}, locale, json
///       Provider{}.getTimeline({.isPreview = false, .host = s.host}, ...);
///     });
///
/// | option            | default                          | resolved into                 |
/// |-------------------|----------------------------------|-------------------------------|
/// | `--feed FILE`     | `FeedFile::url()`                | `host.feed` (read by `load()`) |
/// | `--now ISO8601`   | the system clock                 | `host.clock` (`Clock::fixed`) |
/// | `--tz ZONE`       | `Calendar::defaultTimeZone()`    | `host.timeZone`               |
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
/// All of them hand `HostSettings::host` to the provider, so they see the same pinned clock, feed
/// and zone. Values are checked while the command line is parsed (CLI11 validators), so an
/// unparsable `--now`, an unknown `--tz` or `--locale` is a parse error: "ostrel-widgets: error:
/// --tz: unknown time zone: X" on stderr and exit status 2; `resolve` therefore never fails.

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/date.hpp"
#include "platform/iso_utc.hpp"
#include "timeline/host.hpp"

namespace ostrel::cli {

/// The shared options as typed.
struct HostOptions {
  std::string feed;    ///< empty: the fixed feed location
  std::string now;     ///< empty: the system clock
  std::string tz;      ///< empty: the environment's zone
  std::string locale;  ///< empty: the environment's locale
  bool json = false;
};

/// One of the shared options.
enum class HostOption { feed, now, tz, locale, json };

/// Adds the `offered` shared options to `cmd`, in the order given.
void addHostOptions(CLI::App& cmd, HostOptions& options, std::initializer_list<HostOption> offered);
/// Adds --feed, --now, --tz, --locale and, with `withJson`, --json.
void addHostOptions(CLI::App& cmd, HostOptions& options, bool withJson = true);

/// The shared options resolved.
struct HostSettings {
  Host host;
  std::string locale;
  bool json = false;
};

/// Resolves checked options (defaults filled in).
[[nodiscard]] HostSettings resolve(const HostOptions& options);

/// The end of a subcommand's --help: the `examples`, one command line each, and, when the
/// subcommand reads the feed, where from (this user's full default path).
[[nodiscard]] std::string helpFooter(std::initializer_list<const char*> examples, bool readsFeed = true);

/// A validator accepting what the feed's date rule accepts.
[[nodiscard]] CLI::Validator instantValidator();
/// A validator accepting a finite number from `low` to `high` (CLI::Range lets NaN through).
[[nodiscard]] CLI::Validator finiteRange(double low, double high);
/// The instant `text` names (already validated).
[[nodiscard]] Date instant(const std::string& text);

/// Dates are printed in UTC with milliseconds (platform/iso_utc.hpp).
using ostrel::isoUtc;

}  // namespace ostrel::cli
