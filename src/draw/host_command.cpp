// `ostrel-widgets host`: the widgets on the desktop, one window per widget, kept current.
//
// Options: --widget KIND:FAMILY (repeatable; default Next up small and Due soon medium), the
// placement (--corner, --margin, --gap, --monitor), --scheme auto|light|dark, the shared host
// options, and --install-autostart / --remove-autostart, which write or remove the session's
// autostart entry instead of showing anything. Bad arguments: one line and status 2; no display,
// a missing font or an unwritable autostart folder: one line and status 1. Closing a window,
// SIGINT and SIGTERM end it with status 0.
//
// One host runs in a session (session_instance.hpp): a later start with the same options says so
// and ends with status 0; with others it hands them to the running host, which shows them from then
// on. --quit ends the running host (status 1 when none runs), --replace takes over from it. Losing
// the display or the session bus is one line and status 1, so that a supervisor starts it again.

#include <glib.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/hand_over.hpp"
#include "cli/options.hpp"
#include "cli/subcommands.hpp"
#include "desktop/autostart.hpp"
#include "desktop/desktop_output.hpp"
#include "desktop/session_instance.hpp"
#include "draw/commands.hpp"
#include "draw/engine_options.hpp"
#include "engine/engine.hpp"
#include "ui/reading.hpp"

namespace ostrel::draw {
namespace {

using cli::CommonOption;
using cli::CommonOptions;
using cli::Io;
using cli::Status;

struct HostCommandOptions {
  std::vector<std::string> widgets;
  std::string corner = "top-right";
  int margin = 24;
  int gap = 16;
  std::optional<std::string> monitor;
  std::string scheme = "auto";
  bool installAutostart = false;
  bool removeAutostart = false;
  bool quit = false;
  bool replace = false;
  EngineOptions engine;
  CommonOptions common;
};

const std::vector<std::string> kDefaultWidgets = {"NextUp:systemSmall", "DueSoon:systemMedium"};

/// The home folder: $HOME, else the password database's.
std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* pw = ::getpwuid(::getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
}

/// What this host shows and from which feed, as options: what the autostart entry records and what
/// a later start hands to the running host.
std::vector<std::string> shownOptions(const HostCommandOptions& o) {
  std::error_code ec;
  std::vector<std::string> words;
  for (const std::string& w : o.widgets.empty() ? kDefaultWidgets : o.widgets) {
    words.insert(words.end(), {"--widget", w});
  }
  words.insert(words.end(),
               {"--corner", o.corner, "--margin", std::to_string(o.margin), "--gap", std::to_string(o.gap)});
  if (o.monitor) words.insert(words.end(), {"--monitor", *o.monitor});
  if (o.scheme != "auto") words.insert(words.end(), {"--scheme", o.scheme});
  if (!o.common.feed.empty()) {
    words.insert(words.end(), {"--feed", std::filesystem::absolute(o.common.feed, ec).string()});
  }
  if (!o.common.tz.empty()) words.insert(words.end(), {"--tz", o.common.tz});
  if (!o.common.locale.empty()) words.insert(words.end(), {"--locale", o.common.locale});
  return words;
}

/// The command the autostart entry runs: this program with the widget and placement options.
std::vector<std::string> autostartCommand(const HostCommandOptions& o) {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  const char* path = std::getenv("PATH");
  std::vector<std::string> words{
      desktop::programToRecord(program_invocation_name, path != nullptr ? path : "", cwd, cli::frontCommand())
          .string(),
      "host"};
  HostCommandOptions recorded = o;
  // A number changes when screens are re-plugged: the entry names the connector where it can.
  if (o.monitor) {
    if (auto name = desktop::monitorName(*o.monitor)) recorded.monitor = std::move(name);
  }
  const std::vector<std::string> shown = shownOptions(recorded);
  words.insert(words.end(), shown.begin(), shown.end());
  return words;
}

/// Adds the options that say what the host shows (those `shownOptions` writes) to `cmd`.
void addShownOptions(CLI::App& cmd, HostCommandOptions& o) {
  cmd.add_option(
      "--widget", o.widgets,
      "A widget to show, KIND:FAMILY, repeatable (default: NextUp:systemSmall DueSoon:systemMedium)");
  cmd.add_option("--corner", o.corner, "The corner the widgets stand in (default: top-right)")
      ->check(CLI::IsMember({"top-left", "top-right", "bottom-left", "bottom-right"}));
  cmd.add_option("--margin", o.margin, "Points from the screen's edges (default: 24)")
      ->check(CLI::Range(0, 10000));
  cmd.add_option("--gap", o.gap, "Points between widgets (default: 16)")->check(CLI::Range(0, 10000));
  cmd.add_option("--monitor", o.monitor,
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
  cmd.add_option("--scheme", o.scheme, "The appearance: auto follows the desktop (default: auto)")
      ->check(CLI::IsMember({"auto", "light", "dark"}));
}

/// `running`'s options with what `words` (from a later start) shows in place of its own; the clock
/// stays `running`'s. The reason when they cannot be shown.
Result<HostCommandOptions, desktop::InstanceError> handedOver(
    const std::vector<std::string>& words, const HostCommandOptions& running,
    const std::vector<WidgetConfiguration>& bundle) {
  HostCommandOptions o;
  CLI::App app;
  addShownOptions(app, o);
  cli::addCommonOptions(app, o.common, {CommonOption::feed, CommonOption::tz, CommonOption::locale});
  try {
    app.parse(std::vector<std::string>(words.rbegin(), words.rend()));
  } catch (const CLI::ParseError& e) {
    return desktop::InstanceError{e.what()};
  }
  const auto named = shownWidgets(o.widgets, bundle);
  if (const auto* reason = std::get_if<std::string>(&named)) return desktop::InstanceError{*reason};
  o.common.now = running.common.now;
  o.engine = running.engine;
  return o;
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

/// The program's log writer. When the display goes away (the X server ends, the compositor drops the
/// connection) GDK or the desktop output logs why and ends the process with status 1: that becomes
/// the host's one line. Every other message is written as GLib writes it.
GLogWriterOutput writeLog(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
  std::string_view domain, message;
  for (gsize i = 0; i < count; ++i) {
    if (fields[i].length >= 0 || fields[i].value == nullptr) continue;
    const std::string_view key = fields[i].key;
    if (key == "GLIB_DOMAIN") domain = static_cast<const char*>(fields[i].value);
    if (key == "MESSAGE") message = static_cast<const char*>(fields[i].value);
  }
  if ((level & G_LOG_LEVEL_MESSAGE) != 0 && domain == "ostrel") {
    g_printerr("ostrel-widgets: error: %.*s\n", static_cast<int>(message.size()), message.data());
    return G_LOG_WRITER_HANDLED;
  }
  if ((level & G_LOG_LEVEL_MESSAGE) != 0 && domain == "Gdk" &&
      (message.find("display") != std::string_view::npos ||
       message.find("compositor") != std::string_view::npos)) {
    g_printerr("ostrel-widgets: error: lost the display\n");
    return G_LOG_WRITER_HANDLED;
  }
  return g_log_writer_default(level, fields, count, nullptr);
}

/// Why the windows of one set of options went away.
enum class Ending { none, newOptions, quit, replaced, busLost };

/// Shows the windows for `o` until the engine ends; how it ended.
Ending showWindows(const HostCommandOptions& o, const render::PangoMeasurer& fonts, Ending& ending,
                   Engine*& current, Io& io) {
  auto named = shownWidgets(o.widgets.empty() ? kDefaultWidgets : o.widgets, *io.widgets);
  const auto& shown = std::get<std::vector<ShownWidget>>(named);
  Engine engine(shown, engineSettings(o.common, o.engine), engineClock(o.common, o.engine));
  auto output = desktop::DesktopOutput::open(
      desktop::DesktopSettings{
          .widgets = shown,
          .placement =
              desktop::Placement{.corner = desktop::cornerNamed(o.corner).value_or(desktop::Corner::topRight),
                                 .margin = o.margin,
                                 .gap = o.gap,
                                 .monitor = o.monitor},
          .scheme = desktop::schemeChoiceNamed(o.scheme).value_or(desktop::SchemeChoice::automatic),
      },
      fonts, [&engine] { engine.stop(); });
  if (!output) {
    io.fail(Status::environment, output.error().message);
    return Ending::none;
  }
  if ((*output)->notice()) io.err << "ostrel-widgets: " << *(*output)->notice() << "\n";
  engine.subscribe(**output);
  current = &engine;
  if (ending == Ending::none) engine.run();
  current = nullptr;
  return std::exchange(ending, Ending::none);
}

/// Shows the windows as the one host of the session, taking later starts' options, until it ends.
void runHost(HostCommandOptions o, Io& io) {
  auto fonts = render::PangoMeasurer::create();
  if (!fonts) return io.fail(Status::environment, fonts.error().message);
  g_log_set_writer_func(writeLog, nullptr, nullptr);
  Ending ending = Ending::none;
  Engine* current = nullptr;
  HostCommandOptions next;
  const auto end = [&](Ending why) {
    if (ending != Ending::busLost) ending = why;
    if (current != nullptr) current->stop();
  };
  // Without a session bus the host still shows its windows; it cannot then be found by later starts.
  auto bus = desktop::SessionInstance::connect();
  std::unique_ptr<desktop::SessionInstance> instance = bus ? std::move(bus).value() : nullptr;
  const desktop::InstanceHandlers handlers{
      .show = [&](const std::vector<std::string>& words) -> Result<bool, desktop::InstanceError> {
        if (words == shownOptions(o)) return false;
        auto taken = handedOver(words, o, *io.widgets);
        if (!taken) return taken.error();
        next = std::move(taken).value();
        end(Ending::newOptions);
        return true;
      },
      .quit = [&] { end(Ending::quit); },
      .faces =
          [&] {
            std::vector<desktop::InstanceFace> faces;
            for (const Face& f : current != nullptr ? current->faces() : std::vector<Face>{}) {
              faces.push_back(
                  {.kind = f.kind, .family = name(f.family), .reading = reading(f.view(ColorScheme::light))});
            }
            return faces;
          },
      .ended =
          [&](desktop::InstanceEnd how) {
            end(how == desktop::InstanceEnd::replaced ? Ending::replaced : Ending::busLost);
          },
  };
  if (instance && !instance->claim(o.replace, handlers)) {
    const auto changed = instance->handOver(shownOptions(o));
    if (!changed) return io.fail(Status::environment, changed.error().message);
    io.err << (*changed ? "ostrel-widgets: already running: the running host shows these options now\n"
                        : "ostrel-widgets: already running with these options\n");
    return io.succeed();
  }
  io.succeed();
  Ending why = showWindows(o, *fonts, ending, current, io);
  for (; why == Ending::newOptions; why = showWindows(o, *fonts, ending, current, io)) o = next;
  if (io.status != 0) return;
  if (why == Ending::busLost) return io.fail(Status::environment, "lost the session bus");
  if (why == Ending::replaced) io.err << "ostrel-widgets: another host took over\n";
}

/// Ends the session's running host.
void quitHost(Io& io) {
  auto bus = desktop::SessionInstance::connect();
  if (!bus) return io.fail(Status::environment, bus.error().message);
  const auto ended = (*bus)->askToQuit();
  if (!ended) return io.fail(Status::environment, ended.error().message);
  if (!*ended) return io.fail(Status::environment, "no host is running in this session");
  io.succeed();
}

}  // namespace

void addHost(CLI::App& app, Io& io) {
  auto* cmd = cli::addSubcommand(app, "host");
  auto o = std::make_shared<HostCommandOptions>();
  addShownOptions(*cmd, *o);
  auto* install = cmd->add_flag("--install-autostart", o->installAutostart,
                                "Start the host with these options when the session starts, and exit");
  auto* remove = cmd->add_flag("--remove-autostart", o->removeAutostart,
                               "Remove the session's autostart entry, and exit")
                     ->excludes(install);
  auto* quit = cmd->add_flag("--quit", o->quit, "End the host running in this session, and exit")
                   ->excludes(install)
                   ->excludes(remove);
  cmd->add_flag("--replace", o->replace, "Take over from the host running in this session")
      ->excludes(install)
      ->excludes(remove)
      ->excludes(quit);
  addEngineOptions(*cmd, o->engine);
  cli::addCommonOptions(*cmd, o->common,
                        {CommonOption::feed, CommonOption::now, CommonOption::tz, CommonOption::locale});
  cmd->footer(cli::helpFooter({"ostrel-widgets host",
                               "ostrel-widgets host --corner bottom-left --widget DueSoon:systemLarge",
                               "ostrel-widgets host --install-autostart"}));
  cmd->callback([o, &io] {
    auto named = shownWidgets(o->widgets.empty() ? kDefaultWidgets : o->widgets, *io.widgets);
    if (const auto* reason = std::get_if<std::string>(&named)) return io.fail(Status::usage, *reason);
    if (o->installAutostart || o->removeAutostart) return autostart(*o, io);
    if (o->quit) return quitHost(io);
    if (const auto why = refusal(o->engine)) return io.fail(Status::usage, *why);
    runHost(*o, io);
  });
}

}  // namespace ostrel::draw
