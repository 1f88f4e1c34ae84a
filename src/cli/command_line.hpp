#pragma once
/// \file command_line.hpp
/// Running a command line over a set of subcommands: parsing, the chosen subcommand's callback, the
/// help and version flags, and how it ends (io.hpp): a parse error is bad usage (status 2), standard
/// output that could not be written a failure of the environment (status 1), each as one line.
///
/// Two executables run it over different sets (see CMakeLists.txt beside this file):
///
///     runCommandLine(kEverySubcommand, widgets, argc, argv, out, err);              // ostrel-widgets-draw
///     runCommandLine(kPrinting, widgets, argc, argv, out, err, {kDrawing, handToDrawingCommand});  //
///     ostrel-widgets

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

/// A subcommand that another executable runs: its name and its line in `--help`.
struct HandedSubcommand {
  const char* name;
  const char* description;
};

/// The subcommands run elsewhere, and how the command line is handed to them.
struct Elsewhere {
  std::span<const HandedSubcommand> subcommands;
  HandOver run = nullptr;
};

/// Runs the command line over the subcommands `add` registers, then those of `elsewhere` (in the
/// order `--help` lists them). When the first word names one of `elsewhere`'s subcommands, the
/// command line is handed to `elsewhere.run` unparsed; `--help`, `--version`, a missing or unknown
/// subcommand are answered here. Returns the exit status.
[[nodiscard]] int runCommandLine(std::span<const AddSubcommands> add,
                                 const std::vector<WidgetConfiguration>& widgets, int argc,
                                 const char* const* argv, std::ostream& out, std::ostream& err,
                                 const Elsewhere& elsewhere = {});

}  // namespace ostrel::cli
