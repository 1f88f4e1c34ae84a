// `ostrel-widgets watch`: runs the live host's engine for one or more widgets and shows their faces
// as PNG files in a folder and/or as lines on standard output, until interrupted, until the
// simulated clock reaches --until, or until standard output is closed.
//
// Exit status: 0 when it ends by SIGINT, SIGTERM or SIGHUP, at --until, or because the reader of standard
// output went away (a closed pipe, noticed also while no face changes); 2 for bad arguments; 1 when
// the fonts are missing, the PNG folder never took a face, or standard output fails otherwise (a full
// disk). A PNG folder that stops working later is reported once and written again once it works.

#include <glib-unix.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/chosen_face.hpp"
#include "cli/options.hpp"
#include "cli/printable.hpp"
#include "cli/subcommands.hpp"
#include "draw/commands.hpp"
#include "draw/engine_options.hpp"
#include "engine/engine.hpp"
#include "engine/line_output.hpp"
#include "png/png_dir_output.hpp"

namespace ostrel::draw {
namespace {

using cli::CommonOption;
using cli::CommonOptions;
using cli::Io;
using cli::Status;

struct WatchOptions {
  CommonOptions common;
  std::vector<std::string> widgets;  ///< KIND:FAMILY
  std::string scheme = "light";
  std::string pngDir;
  double scale = 2;
  std::string format;
  EngineOptions engine;
};

void watch(const WatchOptions& o, Io& io) {
  auto chosen = shownWidgets(o.widgets, *io.widgets);
  if (const auto* error = std::get_if<std::string>(&chosen)) return io.fail(Status::usage, *error);
  std::vector<ShownWidget>& widgets = std::get<std::vector<ShownWidget>>(chosen);
  if (o.pngDir.empty() && o.format.empty())
    return io.fail(Status::usage, "watch needs an output: --png-dir DIR or --format");
  const std::optional<LineFormat> format = lineFormatNamed(o.format);
  if (format == LineFormat::waybar && widgets.size() != 1) {
    return io.fail(Status::usage,
                   "--format waybar shows exactly one widget: name it with --widget KIND:FAMILY");
  }
  if (const auto why = refusal(o.engine)) return io.fail(Status::usage, *why);

  Engine engine(std::move(widgets), engineSettings(o.common, o.engine), engineClock(o.common, o.engine));

  std::unique_ptr<PngDirOutput> pngs;
  if (!o.pngDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(o.pngDir, ec);
    if (ec || !std::filesystem::is_directory(o.pngDir)) {
      return io.fail(Status::environment, "--png-dir: not a folder that can be made: " + o.pngDir);
    }
    auto fonts = render::PangoMeasurer::create();
    if (!fonts) return io.fail(Status::environment, fonts.error().message);
    pngs = std::make_unique<PngDirOutput>(
        o.pngDir, o.scale, o.scheme == "dark" ? ColorScheme::dark : ColorScheme::light, *fonts,
        [&](const std::string& news) {
          io.err << "ostrel-widgets: " << cli::printable(news) << '\n' << std::flush;
        },
        [&](const std::string& why) {
          io.fail(Status::environment, why);
          engine.stop();
        });
    engine.subscribe(*pngs);
  }
  // A status bar that quits closes the pipe: writing then fails with EPIPE instead of killing the
  // process, and the engine ends normally; so does a reader that goes away while no face changes.
  std::signal(SIGPIPE, SIG_IGN);
  std::unique_ptr<LineOutput> lines;
  if (format) {
    // A simulated clock's lines are a record to keep whole; a live bar wants only what is current.
    const auto backlog = o.common.now.empty() ? LineOutput::Backlog::latest : LineOutput::Backlog::every;
    lines = std::make_unique<LineOutput>(STDOUT_FILENO, *format, backlog, [&](int error) {
      if (error != EPIPE)
        io.fail(Status::environment, std::string("cannot write standard output: ") + std::strerror(error));
      engine.stop();
    });
    engine.subscribe(*lines);
  }
  // A hang-up (the terminal it runs in closed, the session ended) ends it like SIGTERM: it follows
  // the feed, zone and locale by itself, so there is nothing for a hang-up to reload.
  const guint hangUp = g_unix_signal_add(
      SIGHUP,
      +[](gpointer running) -> gboolean {
        static_cast<Engine*>(running)->stop();
        return G_SOURCE_CONTINUE;
      },
      &engine);
  io.succeed();
  engine.run();
  g_source_remove(hangUp);
}

}  // namespace

void addWatch(CLI::App& app, Io& io) {
  auto* cmd = cli::addSubcommand(app, "watch");
  auto o = std::make_shared<WatchOptions>();
  cmd->add_option("--widget", o->widgets,
                  "A widget to show, KIND:FAMILY such as NextUp:systemSmall; repeatable (default: every kind "
                  "in every family it offers)");
  cmd->add_option("--scheme", o->scheme, "The appearance of the PNG files (default: light)")
      ->check(CLI::IsMember({"light", "dark"}));
  cmd->add_option("--png-dir", o->pngDir,
                  "Write each face to DIR/<kind>-<family>.png, replaced atomically on change");
  cmd->add_option("--scale", o->scale, "Device pixels per point of the PNG files (default: 2)")
      ->check(cli::finiteRange(0.25, 16));
  cmd->add_option("--format", o->format,
                  "Print one line per changed face: text (the face read aloud), short (one short line for a "
                  "bar: i3blocks, Polybar), json, or waybar (Waybar's custom module)")
      ->check(CLI::IsMember({"text", "short", "json", "waybar"}));
  addEngineOptions(*cmd, o->engine);
  cli::addCommonOptions(*cmd, o->common,
                        {CommonOption::feed, CommonOption::now, CommonOption::tz, CommonOption::locale});
  cmd->footer(cli::helpFooter({
      "ostrel-widgets watch --widget NextUp:systemSmall --format short    # i3blocks, Polybar: one short "
      "line",
      "ostrel-widgets watch --widget DueSoon:systemMedium --format waybar # Waybar's custom module",
      "ostrel-widgets watch --png-dir ~/.cache/ostrel --scale 1           # PNG files for Conky",
      "ostrel-widgets watch --format json --feed examples/widget.json --now 2026-03-02T08:15:30+11:00 "
      "--speed max "
      "--until 2026-03-09T08:15:30+11:00",
  }));
  cmd->callback([&io, o] { watch(*o, io); });
}

}  // namespace ostrel::draw
