#pragma once
/// \file command_line.hpp
/// Running a command line over a set of subcommands: parsing, the chosen subcommand's callback, the
/// help and version flags, and how it ends (io.hpp): a parse error is bad usage (status 2), standard
/// output that could not be written a failure of the environment (status 1), each as one line.
///
/// Two executables run it over different sets (see CMakeLists.txt beside this file):
///
///     runCommandLine(kEverySubcommand, widgets, argc, argv, out, err);              // ostrel-widgets-draw
///     runCommandLine(kPrinting, widgets, argc, argv, out, err, handToDrawingCommand);  // ostrel-widgets

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

/// Runs the command line over the subcommands `add` registers (in the order `--help` lists them).
/// When `elsewhere` is given and the first word is none of them (also `--help`, `--version` or no
/// word at all), the command line is handed over to it unparsed. Returns the exit status.
[[nodiscard]] int runCommandLine(std::span<const AddSubcommands> add,
                                 const std::vector<WidgetConfiguration>& widgets, int argc,
                                 const char* const* argv, std::ostream& out, std::ostream& err,
                                 HandOver elsewhere = nullptr);

}  // namespace ostrel::cli
