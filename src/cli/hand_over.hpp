#pragma once
/// \file hand_over.hpp
/// The command is two executables. `ostrel-widgets` runs the subcommands that draw nothing itself
/// and links no drawing library, so that they start without loading Cairo, Pango, fontconfig and
/// what those load (most of the start-up time of `check` on a small feed). Every other command line
/// (`render`, `gallery`, the live host) it hands to `ostrel-widgets-draw`, the whole command in one
/// executable: the process is replaced, with the same arguments, environment and standard streams.
///
/// In the build tree the two executables stand side by side. Installed, the drawing program is off
/// PATH, in `LIBEXECDIR/ostrel-widgets/`, and each finds the other by the relative path between the
/// two install folders, from the folder of the running executable; so a package installed under any
/// prefix, or a tree copied elsewhere whole, still works.

#include <iosfwd>
#include <string>

namespace ostrel::cli {

/// Replaces this process with `ostrel-widgets-draw` (beside the running executable, else in the
/// installed drawing folder), with the same arguments. Returns only if that fails: status 1 with
/// "cannot run PATH: REASON", PATH the installed place when neither exists.
[[nodiscard]] int handToDrawingCommand(int argc, const char* const* argv, std::ostream& err);

/// The path of `ostrel-widgets` found from the running executable (either of the two), as a command
/// to write down for later (an autostart entry); "ostrel-widgets" if it cannot be found.
[[nodiscard]] std::string frontCommand();

}  // namespace ostrel::cli
