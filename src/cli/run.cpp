#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/commands.hpp"
#include "platform/string_table.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::cli {
namespace {

constexpr const char* kVersion = "ostrel-widgets " OSTREL_VERSION;

/// The subcommands' names, as "check, timeline, ...".
std::string subcommandList(const CLI::App& app) {
  std::string names;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    names += (names.empty() ? "" : ", ") + sub->get_name();
  }
  return names;
}

/// What the first word names when it is not a subcommand: the reason for status 2, or empty.
std::string unknownFirstWord(const CLI::App& app, int argc, const char* const* argv) {
  if (argc < 2) return "a subcommand is required: " + subcommandList(app);
  const std::string first = argv[1];
  if (first == "-h" || first == "--help" || first == "--help-all" || first == "--version") return {};
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (sub->check_name(first)) return {};
  }
  if (first.starts_with("-")) {
    return "unknown option " + first + " (options follow the subcommand: " + subcommandList(app) + ")";
  }
  return "unknown subcommand: " + first + " (the subcommands are " + subcommandList(app) + ")";
}

}  // namespace

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
  app.set_version_flag("--version", kVersion);
  Io io{out, err, 0, &widgets};

  // Subcommands, in the order --help lists them.
  addCheck(app, io);
  addTimelineCommands(app, io);
  addTree(app, io);
  addRender(app, io);
  addGallery(app, io);
  addWatch(app, io);
  addHost(app, io);

  if (const std::string unknown = unknownFirstWord(app, argc, argv); !unknown.empty()) {
    return reportError(err, Status::usage, unknown);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
  } catch (const CLI::CallForVersion&) {
    out << kVersion << "\n";
  } catch (const CLI::ParseError& e) {
    return reportError(err, Status::usage, e.what());
  }
  // What was printed must have reached standard output: a full disk or a closed pipe is a failure
  // of the environment, not a success (except for a command that runs until its reader leaves).
  errno = 0;
  out.flush();
  if (!out && !io.endsWhenOutputCloses) {
    const int error = errno;
    return reportError(err, Status::environment,
                       std::string("cannot write standard output") + (error != 0 ? ": " : "") +
                           (error != 0 ? std::strerror(error) : ""));
  }
  return io.status;
}

}  // namespace ostrel::cli
