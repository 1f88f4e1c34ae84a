#pragma once
/// \file commands.hpp
/// The subcommands of `ostrel-widgets`. Each `add*` registers one subcommand on the app; its callback
/// prints to the given streams and leaves its exit status in `Io::status` (io.hpp).

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <vector>

#include "cli/io.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::cli {

/// Runs the command line for the bundle's `widgets`, every subcommand in this process; returns the
/// exit status. What `ostrel-widgets-draw` runs.
[[nodiscard]] int run(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
                      std::ostream& out, std::ostream& err);
/// The same for this system's bundle.
[[nodiscard]] int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
/// What `ostrel-widgets` runs: the subcommands that draw nothing (`check`, `timeline`, `entry`,
/// `snapshot`, `placeholder`, `tree`) in this process, which loads no drawing library; any other
/// command line is handed to `ostrel-widgets-draw` (hand_over.hpp).
[[nodiscard]] int runFront(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
                           std::ostream& out, std::ostream& err);

void addCheck(CLI::App& app, Io& io);
/// `tree`: the view tree of one face.
void addTree(CLI::App& app, Io& io);
/// `timeline`, `entry`, `snapshot`, `placeholder`: the provider's operations.
void addTimelineCommands(CLI::App& app, Io& io);
/// `render`: one face to PNG or SVG; `gallery`: every kind, offered family and scheme on one sheet.
void addRender(CLI::App& app, Io& io);
void addGallery(CLI::App& app, Io& io);
/// `watch`: the live host's engine, faces to PNG files and status-bar lines.
void addWatch(CLI::App& app, Io& io);
/// `host`: the widgets on the desktop, in windows kept current.
void addHost(CLI::App& app, Io& io);

}  // namespace ostrel::cli
