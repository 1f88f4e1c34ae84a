#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/hand_over.hpp"

namespace ostrel::cli {

int runFront(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
             std::ostream& out, std::ostream& err) {
  // The subcommands that draw nothing; their options and help are the same as in the whole command.
  static constexpr AddSubcommands kPrinting[] = {addCheck, addTimelineCommands, addTree};
  // The subcommands that draw, as the drawing program lists them in its --help; their own help and
  // options are the drawing program's.
  static constexpr HandedSubcommand kDrawing[] = {
      {"render", "Draw one face (the tree that `tree` prints) to a PNG or SVG file"},
      {"gallery",
       "Draw the widget picker sheet: each widget's name, description and preview in every family it "
       "offers, light and dark"},
      {"watch",
       "Keep faces current on the host's schedule: PNG files in a folder and/or one line per change"},
      {"host", "Show the widgets on the desktop, kept current"},
  };
  return runCommandLine(kPrinting, widgets, argc, argv, out, err, {kDrawing, handToDrawingCommand});
}

}  // namespace ostrel::cli
