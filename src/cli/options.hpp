#pragma once
/// \file options.hpp
/// The options every subcommand shares, and their resolution into what the host lends the provider.
///
///     HostOptions o;
///     addHostOptions(*cmd, o);            // --feed --now --tz --locale [--json]
///     ...after parsing:
///     HostSettings s = resolve(o);        // Host{clock, feed, timeZone}, locale, json
///
/// Values are checked while the command line is parsed (CLI11 validators), so a bad `--now`,
/// `--tz` or `--locale` is a parse error: one line on stderr and exit status 2.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "platform/date.hpp"
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

/// Adds --feed, --now, --tz, --locale and, with `withJson`, --json to `cmd`.
void addHostOptions(CLI::App& cmd, HostOptions& options, bool withJson = true);

/// The shared options resolved.
struct HostSettings {
  Host host;
  std::string locale;
  bool json = false;
};

/// Resolves checked options (defaults filled in).
[[nodiscard]] HostSettings resolve(const HostOptions& options);

/// A validator accepting what the feed's date rule accepts.
[[nodiscard]] CLI::Validator instantValidator();
/// The instant `text` names (already validated).
[[nodiscard]] Date instant(const std::string& text);

/// The locale of the environment (LC_ALL, LC_TIME, LANG) as an ICU name; "en_US" for C/POSIX.
[[nodiscard]] std::string environmentLocale();

/// `date` in UTC with milliseconds: "2026-03-02T10:00:30.000Z".
[[nodiscard]] std::string isoUtc(Date date);

}  // namespace ostrel::cli
