#pragma once
/// \file engine_options.hpp
/// What the commands that run the live host's engine (`watch`, `host`) share: the widgets named as
/// `KIND:FAMILY`, the engine's options (--speed N|max, --until) and the engine's clock and settings
/// from them and the shared options.
///
///     EngineOptions e;
///     addEngineOptions(*cmd, e);
///     ...after parsing:
///     if (auto why = refusal(e)) return io.fail(Status::usage, *why);   // "--speed max needs --until"
///     auto shown = shownWidgets(names, *io.widgets);                   // or the one-line reason
///     Engine engine(std::get<0>(shown), engineSettings(common, e), engineClock(common, e));

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/options.hpp"
#include "engine/engine.hpp"

namespace ostrel::draw {

/// The engine's options, as typed.
struct EngineOptions {
  std::string speed;  ///< empty: real time; a factor; "max": from wake to wake
  std::string until;  ///< empty: no end
};

/// Adds --speed (a positive number or "max") and --until (an instant) to `cmd`.
void addEngineOptions(CLI::App& cmd, EngineOptions& options);

/// Why `options` cannot run an engine ("--speed max needs --until": it would never end), or nothing.
[[nodiscard]] std::optional<std::string> refusal(const EngineOptions& options);

/// The widgets named by `KIND:FAMILY` texts (every kind in every family it offers when there are
/// none), or the one-line reason one cannot be shown.
[[nodiscard]] std::variant<std::vector<ShownWidget>, std::string> shownWidgets(
    const std::vector<std::string>& names, const std::vector<WidgetConfiguration>& widgets);

/// The engine's clock: the system's; with --now, one that starts there and runs at --speed (real
/// time, a factor, or from wake to wake).
[[nodiscard]] EngineClock engineClock(const cli::CommonOptions& common, const EngineOptions& options);

/// The engine's settings: the feed, the pinned zone and locale if given, and --until.
[[nodiscard]] EngineSettings engineSettings(const cli::CommonOptions& common, const EngineOptions& options);

}  // namespace ostrel::draw
