#pragma once
/// \file commands.hpp
/// The subcommands of `ostrel-widgets`. Each `add*` registers one subcommand on the app; its callback
/// prints to the given streams and leaves its exit status in `status` (0 success, 2 bad arguments).

#include <CLI/CLI.hpp>
#include <iosfwd>

namespace ostrel::cli {

/// Where a command writes and the exit status it leaves.
struct Io {
  std::ostream& out;
  std::ostream& err;
  int status = 0;
};

/// Runs the command line; returns the exit status.
[[nodiscard]] int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

void addCheck(CLI::App& app, Io& io);
/// `timeline`, `entry`, `snapshot`, `placeholder`: the provider's operations.
void addTimelineCommands(CLI::App& app, Io& io);
/// `render`: one face to PNG or SVG; `gallery`: every kind, offered family and scheme on one sheet.
void addRender(CLI::App& app, Io& io);
void addGallery(CLI::App& app, Io& io);

}  // namespace ostrel::cli
