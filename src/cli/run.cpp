#include <iostream>

#include "cli/commands.hpp"
#include "platform/strings.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::cli {

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  return run(OstrelWidgets{}.body(), argc, argv, out, err);
}

int run(const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv, std::ostream& out,
        std::ostream& err) {
  // The string table follows the user's message language; set up once, before any lookup.
  static_cast<void>(StringTable::setUp(std::nullopt));
  CLI::App app{"ostrel-widgets: the Next up and Due soon desktop widgets, and the host that draws them.",
               "ostrel-widgets"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "ostrel-widgets 0.1.0");
  Io io{out, err, 0, &widgets};

  // Subcommands, in the order --help lists them.
  addCheck(app, io);
  addTimelineCommands(app, io);
  addTree(app, io);
  addRender(app, io);
  addGallery(app, io);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return 0;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return 0;
  } catch (const CLI::CallForVersion&) {
    out << "ostrel-widgets 0.1.0\n";
    return 0;
  } catch (const CLI::ParseError& e) {
    err << "ostrel-widgets: error: " << e.what() << "\n";
    return 2;
  }
  return io.status;
}

}  // namespace ostrel::cli
