#pragma once
/// \file io.hpp
/// Where a subcommand writes, and how it ends: its exit status and, on failure, its one error line.
///
/// | status | meaning                                                                           |
/// |--------|-----------------------------------------------------------------------------------|
/// | 0      | done (for `check`, whatever state the feed is in)                                 |
/// | 1      | the environment failed: an output that cannot be written, a font that is missing  |
/// | 2      | bad usage: the command line asks for what does not exist or cannot be done (an    |
/// |        | unknown subcommand, option or value, a family the widget does not offer)          |
///
/// Every failure is one line on standard error, "ostrel-widgets: error: MESSAGE", with control
/// characters in the message (paths, values typed by the user) shown escaped.
///
///     if (!written) return io.fail(Status::environment, "cannot write " + path + ": " + reason);

#include <iosfwd>
#include <string_view>
#include <vector>

#include "widgets/configuration.hpp"

namespace ostrel::cli {

/// The command's exit statuses.
enum class Status : int { ok = 0, environment = 1, usage = 2 };

/// Where a command writes and the exit status it leaves.
struct Io {
  std::ostream& out;
  std::ostream& err;
  int status = 0;
  /// The bundle's widget declarations: the kinds, names and families the commands offer.
  const std::vector<WidgetConfiguration>* widgets = nullptr;
  /// Set by a command that runs until its reader goes away (`watch` feeding a status bar): a closed
  /// standard output is then how it ends, not a failure.
  bool endsWhenOutputCloses = false;

  /// Writes the error line for `message` and leaves `status`.
  void fail(Status status, std::string_view message);
  /// Leaves status 0.
  void succeed() { status = static_cast<int>(Status::ok); }
};

/// Writes "ostrel-widgets: error: MESSAGE" and a newline to `err`, the message's control characters
/// escaped; returns `status` as an exit status.
int reportError(std::ostream& err, Status status, std::string_view message);

}  // namespace ostrel::cli
