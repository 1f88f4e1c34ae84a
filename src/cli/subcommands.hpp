#pragma once
/// \file subcommands.hpp
/// Every subcommand of the command, the one list both executables are built from: its name, its line
/// in `--help`, and whether it draws. `ostrel-widgets` runs those that draw nothing and hands the
/// others to `ostrel-widgets-draw` (hand_over.hpp), which runs them all; both list them in this order.
///
///     CLI::App* cmd = addSubcommand(app, "render");   // its summary from the list

#include <CLI/CLI.hpp>
#include <array>
#include <string>
#include <string_view>

namespace ostrel::cli {

/// One subcommand of the command.
struct Subcommand {
  std::string_view name;
  std::string_view summary;  ///< its line in --help
  bool draws = false;        ///< run by ostrel-widgets-draw, which links the drawing libraries
};

inline constexpr std::array<Subcommand, 10> kSubcommands{{
    {"check", "Check a feed document and print its state (feed, off or missing)", false},
    {"timeline",
     "Print the timeline the provider makes now: each entry's date and why it is there, and the reload time",
     false},
    {"entry", "Print the entry for one instant over the loaded feed, with its selections", false},
    {"snapshot", "Print the snapshot entry (the sample stands in for a missing feed in a preview)", false},
    {"placeholder", "Print the placeholder entry: the sample feed, dated now", false},
    {"tree", "Print the view tree of one face (text, or JSON with --json)", false},
    {"render", "Draw one face (the tree that `tree` prints) to a PNG or SVG file", true},
    {"gallery",
     "Draw the widget picker sheet: each widget's name, description and preview in every family it offers, "
     "light and dark",
     true},
    {"watch", "Keep faces current on the host's schedule: PNG files in a folder and/or one line per change",
     true},
    {"host", "Show the widgets on the desktop, kept current", true},
}};

/// Adds the subcommand `name` of `kSubcommands` to `app`, with its summary.
CLI::App* addSubcommand(CLI::App& app, std::string_view name);

}  // namespace ostrel::cli
