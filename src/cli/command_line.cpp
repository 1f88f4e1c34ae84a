#include "cli/command_line.hpp"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/commands.hpp"
#include "cli/subcommands.hpp"
#include "time/string_table.hpp"

namespace ostrel::cli {
namespace {

/// The project's version, and the commit it was built from when built from a git checkout.
constexpr const char* kVersion = "ostrel-widgets " OSTREL_VERSION;

bool any(const CLI::App* /*subcommand*/) {
  return true;
}

/// The subcommands' names, as "check, timeline, ...".
std::string subcommandList(const CLI::App& app) {
  std::string names;
  for (const CLI::App* sub : app.get_subcommands(any)) names += (names.empty() ? "" : ", ") + sub->get_name();
  return names;
}

bool isSubcommand(const CLI::App& app, const std::string& word) {
  for (const CLI::App* sub : app.get_subcommands(any)) {
    if (sub->check_name(word)) return true;
  }
  return false;
}

bool isGeneralFlag(const std::string& word) {
  return word == "-h" || word == "--help" || word == "--help-all" || word == "--version";
}

/// What the first word names when it is not a subcommand: the reason for status 2, or empty.
std::string unknownFirstWord(const CLI::App& app, int argc, const char* const* argv) {
  if (argc < 2) return "a subcommand is required: " + subcommandList(app);
  const std::string first = argv[1];
  if (isGeneralFlag(first) || isSubcommand(app, first)) return {};
  if (first.starts_with("-")) {
    return "unknown option " + first + " (options follow the subcommand: " + subcommandList(app) + ")";
  }
  return "unknown subcommand: " + first + " (the subcommands are " + subcommandList(app) + ")";
}

}  // namespace

int runCommandLine(std::span<const AddSubcommands> drawing, HandOver handOver,
                   const std::vector<WidgetConfiguration>& widgets, int argc, const char* const* argv,
                   std::ostream& out, std::ostream& err) {
  // The string table follows the user's message language; set up once, before any lookup.
  static_cast<void>(StringTable::setUp(std::nullopt));
  CLI::App app{"ostrel-widgets: the Next up and Due soon desktop widgets, and the host that draws them.",
               "ostrel-widgets"};
  app.require_subcommand(1);
  app.set_version_flag("--version", kVersion);
  Io io{out, err, 0, &widgets};
  for (const AddSubcommands add : {addCheck, addTimelineCommands, addTree}) add(app, io);
  for (const AddSubcommands add : drawing) add(app, io);
  if (handOver != nullptr) {
    for (const Subcommand& sub : kSubcommands) {
      if (!sub.draws) continue;
      if (argc >= 2 && std::string_view(argv[1]) == sub.name) return handOver(argc, argv, err);
      addSubcommand(app, sub.name);
    }
  }
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
