#pragma once
/// \file hand_over.hpp
/// The command is two executables. `ostrel-widgets` runs the subcommands that draw nothing itself
/// and links no drawing library, so that they start without loading Cairo, Pango, fontconfig and
/// what those load (most of the start-up time of `check` on a small feed). Every other command line
/// (`render`, `gallery`, the live host, `--help`) it hands to `ostrel-widgets-draw`, the whole
/// command in one executable, installed beside it: the process is replaced, with the same arguments,
/// environment and standard streams.

#include <iosfwd>
#include <string>

namespace ostrel::cli {

/// Replaces this process with `ostrel-widgets-draw` from the folder of the running executable, with
/// the same arguments. Returns only if that fails: status 1 with "cannot run PATH: REASON".
[[nodiscard]] int handToDrawingCommand(int argc, const char* const* argv, std::ostream& err);

/// The path of `ostrel-widgets` beside the running executable (either of the two), as a command to
/// write down for later (an autostart entry); "ostrel-widgets" if the running one cannot be found.
[[nodiscard]] std::string frontCommand();

}  // namespace ostrel::cli
