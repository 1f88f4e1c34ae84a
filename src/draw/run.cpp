#include <iostream>

#include "cli/command_line.hpp"
#include "draw/commands.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::draw {

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  return run(OstrelWidgets{}.body(), argc, argv, out, err);
}

int run(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv, std::ostream& out,
        std::ostream& err) {
  // The subcommands that draw, after those that draw nothing, in the order of cli::kSubcommands.
  static constexpr cli::AddSubcommands kDrawing[] = {addRender, addGallery, addWatch, addHost};
  return cli::runCommandLine(kDrawing, nullptr, widgets, argc, argv, out, err);
}

}  // namespace ostrel::draw
