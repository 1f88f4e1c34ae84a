// `ostrel-widgets host`: the widgets on the desktop, one window per widget, kept current.
//
// Options: --widget KIND:FAMILY (repeatable; default Next up small and Due soon medium), the
// placement (--corner, --margin, --gap, --monitor), --scheme auto|light|dark, the shared host
// options, and --install-autostart / --remove-autostart, which write or remove the session's
// autostart entry instead of showing anything. Bad arguments: one line and status 2; no display,
// a missing font or an unwritable autostart folder: one line and status 1. Closing a window,
// SIGINT and SIGTERM end it with status 0.

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "cli/engine_options.hpp"
#include "cli/face.hpp"
#include "cli/hand_over.hpp"
#include "cli/options.hpp"
#include "host/desktop/autostart.hpp"
#include "host/desktop/desktop_output.hpp"
#include "host/engine.hpp"
#include "platform/string_table.hpp"

namespace ostrel::cli {
namespace {

struct HostCommandOptions {
  std::vector<std::string> widgets;
  std::string corner = "top-right";
  int margin = 24;
  int gap = 16;
  std::optional<std::string> monitor;
  std::string scheme = "auto";
  bool installAutostart = false;
  bool removeAutostart = false;
  std::string speed;  ///< empty: real time; a factor; "max"
  std::string until;
  HostOptions host;
};

const std::vector<std::string> kDefaultWidgets = {"NextUp:systemSmall", "DueSoon:systemMedium"};

/// The home folder: $HOME, else the password database's.
std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* pw = ::getpwuid(::getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
}

/// The command the autostart entry runs: this program with the widget and placement options.
std::vector<std::string> autostartCommand(const HostCommandOptions& o) {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  const char* path = std::getenv("PATH");
  std::vector<std::string> words{
      desktop::programToRecord(program_invocation_name, path != nullptr ? path : "", cwd, frontCommand())
          .string(),
      "host"};
  for (const std::string& w : o.widgets.empty() ? kDefaultWidgets : o.widgets) {
    words.insert(words.end(), {"--widget", w});
  }
  words.insert(words.end(),
               {"--corner", o.corner, "--margin", std::to_string(o.margin), "--gap", std::to_string(o.gap)});
  if (o.monitor) {
    // A number changes when screens are re-plugged: the entry names the connector where it can.
    const bool number = o.monitor->find_first_not_of("0123456789") == std::string::npos;
    const auto name = number ? desktop::monitorName(std::stoi(*o.monitor)) : std::nullopt;
    words.insert(words.end(), {"--monitor", name.value_or(*o.monitor)});
  }
  if (o.scheme != "auto") words.insert(words.end(), {"--scheme", o.scheme});
  if (!o.host.feed.empty()) {
    words.insert(words.end(), {"--feed", std::filesystem::absolute(o.host.feed, ec).string()});
  }
  if (!o.host.tz.empty()) words.insert(words.end(), {"--tz", o.host.tz});
  if (!o.host.locale.empty()) words.insert(words.end(), {"--locale", o.host.locale});
  return words;
}

void autostart(const HostCommandOptions& o, Io& io) {
  const std::string home = homeFolder();
  const auto path = desktop::autostartPath(std::getenv("XDG_CONFIG_HOME"), home.c_str());
  if (!path)
    return io.fail(Status::environment, "no configuration folder (neither XDG_CONFIG_HOME nor HOME is set)");
  if (o.removeAutostart) {
    const auto removed = desktop::removeAutostart(*path);
    if (!removed)
      return io.fail(Status::environment, "cannot remove " + path->string() + ": " + removed.error().reason);
    io.out << (*removed == desktop::Removal::removed ? "removed " : "not installed: ") << path->string()
           << "\n";
    return;
  }
  const auto text = desktop::autostartEntry(autostartCommand(o));
  if (!text) {
    return io.fail(Status::usage,
                   "an option holds a control character, which an autostart entry cannot carry");
  }
  const auto written = desktop::installAutostart(*path, *text);
  if (!written)
    return io.fail(Status::environment, "cannot write " + path->string() + ": " + written.error().reason);
  io.out << path->string() << "\n";
}

void showWindows(const HostCommandOptions& o, std::vector<ShownWidget> shown, Io& io) {
  std::vector<desktop::WindowedWidget> windows;
  windows.reserve(shown.size());
  for (const ShownWidget& w : shown) {
    windows.push_back(desktop::WindowedWidget{
        .kind = w.widget.kind, .family = w.family, .title = StringTable::lookup(w.widget.displayNameKey)});
  }
  auto fonts = render::PangoMeasurer::create();
  if (!fonts) return io.fail(Status::environment, fonts.error().message);
  Engine engine(std::move(shown), engineSettings(o.host, o.until), engineClock(o.host, o.speed));
  auto output = desktop::DesktopOutput::open(
      desktop::DesktopSettings{
          .widgets = std::move(windows),
          .placement =
              desktop::Placement{.corner = desktop::cornerNamed(o.corner).value_or(desktop::Corner::topRight),
                                 .margin = o.margin,
                                 .gap = o.gap,
                                 .monitor = o.monitor},
          .scheme = desktop::schemeChoiceNamed(o.scheme).value_or(desktop::SchemeChoice::automatic),
      },
      *fonts, [&engine] { engine.stop(); });
  if (!output) return io.fail(Status::environment, output.error().message);
  if ((*output)->notice()) io.err << "ostrel-widgets: " << *(*output)->notice() << "\n";
  engine.subscribe(**output);
  engine.run();
  io.succeed();
}

}  // namespace

void addHost(CLI::App& app, Io& io) {
  auto* cmd = app.add_subcommand("host", "Show the widgets on the desktop, kept current");
  auto o = std::make_shared<HostCommandOptions>();
  cmd->add_option(
      "--widget", o->widgets,
      "A widget to show, KIND:FAMILY, repeatable (default: NextUp:systemSmall DueSoon:systemMedium)");
  cmd->add_option("--corner", o->corner, "The corner the widgets stand in (default: top-right)")
      ->check(CLI::IsMember({"top-left", "top-right", "bottom-left", "bottom-right"}));
  cmd->add_option("--margin", o->margin, "Points from the screen's edges (default: 24)")
      ->check(CLI::Range(0, 10000));
  cmd->add_option("--gap", o->gap, "Points between widgets (default: 16)")->check(CLI::Range(0, 10000));
  cmd->add_option("--monitor", o->monitor,
                  "The monitor: its connector name (DP-1) or number, from 0 (default: the primary one)")
      ->check(CLI::Validator(
          [](const std::string& v) {
            const bool number =
                !v.empty() && v.size() <= 2 && v.find_first_not_of("0123456789") == std::string::npos;
            const bool name = !v.empty() && v.size() <= 64 && v.find_first_of("0123456789") != 0 &&
                              std::all_of(v.begin(), v.end(), [](char c) { return c > ' ' && c < 0x7f; });
            return number || name ? std::string() : "not a monitor's connector name or number: " + v;
          },
          "NAME|N"));
  cmd->add_option("--scheme", o->scheme, "The appearance: auto follows the desktop (default: auto)")
      ->check(CLI::IsMember({"auto", "light", "dark"}));
  auto* install = cmd->add_flag("--install-autostart", o->installAutostart,
                                "Start the host with these options when the session starts, and exit");
  cmd->add_flag("--remove-autostart", o->removeAutostart, "Remove the session's autostart entry, and exit")
      ->excludes(install);
  cmd->add_option("--speed", o->speed, "Run the clock from --now N times faster than real time, or max")
      ->check(speedValidator());
  cmd->add_option("--until", o->until, "Stop when the clock reaches this instant")->check(instantValidator());
  addHostOptions(*cmd, o->host, {HostOption::feed, HostOption::now, HostOption::tz, HostOption::locale});
  cmd->callback([o, &io] {
    auto named = shownWidgets(o->widgets.empty() ? kDefaultWidgets : o->widgets, *io.widgets);
    if (const auto* reason = std::get_if<std::string>(&named)) return io.fail(Status::usage, *reason);
    auto& shown = std::get<std::vector<ShownWidget>>(named);
    if (o->installAutostart || o->removeAutostart) return autostart(*o, io);
    if (o->speed == "max" && o->until.empty()) return io.fail(Status::usage, "--speed max needs --until");
    showWindows(*o, std::move(shown), io);
  });
}

}  // namespace ostrel::cli
