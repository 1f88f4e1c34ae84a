#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/hand_over.hpp"

namespace ostrel::cli {

int runFront(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
             std::ostream& out, std::ostream& err) {
  // The subcommands that draw nothing; their options and help are the same as in the whole command.
  static constexpr AddSubcommands kPrinting[] = {addCheck, addTimelineCommands, addTree};
  return runCommandLine(kPrinting, widgets, argc, argv, out, err, handToDrawingCommand);
}

}  // namespace ostrel::cli
