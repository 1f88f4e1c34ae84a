#pragma once
/// \file commands.hpp
/// The subcommands that draw, and the whole command as `ostrel-widgets-draw` runs it. Each `add*`
/// registers one subcommand on the app (its name and summary from cli/subcommands.hpp).

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <vector>

#include "cli/io.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::draw {

/// Runs the command line for the bundle's `widgets`, every subcommand in this process; returns the
/// exit status. What `ostrel-widgets-draw` runs.
[[nodiscard]] int run(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
                      std::ostream& out, std::ostream& err);
/// The same for this system's bundle.
[[nodiscard]] int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

/// `render`: one face to PNG or SVG.
void addRender(CLI::App& app, cli::Io& io);
/// `gallery`: every kind, offered family and scheme on one sheet.
void addGallery(CLI::App& app, cli::Io& io);
/// `watch`: the live host's engine, faces to PNG files and status-bar lines.
void addWatch(CLI::App& app, cli::Io& io);
/// `host`: the widgets on the desktop, in windows kept current.
void addHost(CLI::App& app, cli::Io& io);

}  // namespace ostrel::draw
