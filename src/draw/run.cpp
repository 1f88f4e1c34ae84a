#include <iostream>

#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::cli {

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  return run(OstrelWidgets{}.body(), argc, argv, out, err);
}

int run(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv, std::ostream& out,
        std::ostream& err) {
  // Every subcommand, in the order --help lists them.
  static constexpr AddSubcommands kEverySubcommand[] = {
      addCheck, addTimelineCommands, addTree, addRender, addGallery, addWatch, addHost};
  return runCommandLine(kEverySubcommand, widgets, argc, argv, out, err);
}

}  // namespace ostrel::cli
