#pragma once
/// \file commands.hpp
/// The subcommands that draw nothing, which both executables run. Each `add*` registers its
/// subcommands on the app (names and summaries from subcommands.hpp); the callback prints to `io`'s
/// streams and leaves its exit status in `Io::status` (io.hpp).

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <vector>

#include "cli/io.hpp"
#include "widgets/configuration.hpp"

namespace ostrel::cli {

/// What `ostrel-widgets` runs: the subcommands that draw nothing in this process, which loads no
/// drawing library; a command line for one that draws is handed to `ostrel-widgets-draw`
/// (hand_over.hpp). Returns the exit status.
[[nodiscard]] int runFront(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
                           std::ostream& out, std::ostream& err);

/// `check`: the state of a feed document.
void addCheck(CLI::App& app, Io& io);
/// `timeline`, `entry`, `snapshot`, `placeholder`: the provider's operations.
void addTimelineCommands(CLI::App& app, Io& io);
/// `tree`: the view tree of one face.
void addTree(CLI::App& app, Io& io);

}  // namespace ostrel::cli
