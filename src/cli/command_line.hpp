#pragma once
/// \file command_line.hpp
/// Running a command line over the subcommands (subcommands.hpp): parsing, the chosen subcommand's
/// callback, the help and version flags, and how it ends (io.hpp): a parse error is bad usage
/// (status 2), standard output that could not be written a failure of the environment (status 1),
/// each as one line.
///
/// The subcommands that draw nothing are registered here. The two executables differ only in those
/// that draw (see CMakeLists.txt beside this file):
///
///     runCommandLine(kDrawing, nullptr, widgets, argc, argv, out, err);         // ostrel-widgets-draw
///     runCommandLine({}, handToDrawingCommand, widgets, argc, argv, out, err);  // ostrel-widgets

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <span>
#include <vector>

#include "cli/io.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::cli {

/// Registers one or more subcommands on `app`, writing to `io`.
using AddSubcommands = void (*)(CLI::App& app, Io& io);
/// Runs a command line elsewhere; returns the exit status if it could not.
using HandOver = int (*)(int argc, const char* const* argv, std::ostream& err);

/// Runs the command line over the subcommands that draw nothing, then those that draw: registered
/// by `drawing`, or, when `handOver` is given, listed from `kSubcommands` and handed to it. When the
/// first word names a handed subcommand, the command line goes to `handOver` unparsed; `--help`,
/// `--version`, a missing or unknown subcommand are answered here. Returns the exit status.
[[nodiscard]] int runCommandLine(std::span<const AddSubcommands> drawing, HandOver handOver,
                                 const std::vector<WidgetConfiguration>& widgets, int argc,
                                 const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace ostrel::cli
