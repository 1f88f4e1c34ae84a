#pragma once
/// \file engine_options.hpp
/// What the commands that run the live host's engine (`watch`, `host`) share: the widgets named as
/// `KIND:FAMILY`, and the engine's clock and settings from --now, --speed N|max, --until and the
/// shared options.
///
///     auto shown = shownWidgets(names, *io.widgets);     // or the one-line reason
///     Engine engine(std::get<0>(shown), engineSettings(common, until), engineClock(common, speed));

#include <CLI/CLI.hpp>
#include <string>
#include <variant>
#include <vector>

#include "cli/options.hpp"
#include "engine/engine.hpp"

namespace ostrel::cli {

/// Accepts a positive number or "max".
[[nodiscard]] CLI::Validator speedValidator();

/// The widgets named by `KIND:FAMILY` texts (every kind in every family it offers when there are
/// none), or the one-line reason one cannot be shown.
[[nodiscard]] std::variant<std::vector<ShownWidget>, std::string> shownWidgets(
    const std::vector<std::string>& names, const std::vector<WidgetConfiguration>& widgets);

/// The engine's clock: the system's; with --now, one that starts there and runs at `speed` (empty:
/// real time, a factor, or "max": from wake to wake).
[[nodiscard]] EngineClock engineClock(const CommonOptions& common, const std::string& speed);

/// The engine's settings: the feed, the pinned zone and locale if given, and `until` (empty: none).
[[nodiscard]] EngineSettings engineSettings(const CommonOptions& common, const std::string& until);

}  // namespace ostrel::cli
