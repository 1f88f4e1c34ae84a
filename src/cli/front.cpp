#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/hand_over.hpp"

namespace ostrel::cli {

int runFront(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
             std::ostream& out, std::ostream& err) {
  return runCommandLine({}, handToDrawingCommand, widgets, argc, argv, out, err);
}

}  // namespace ostrel::cli
