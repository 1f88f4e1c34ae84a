// `ostrel-widgets render` and `ostrel-widgets gallery`: faces drawn to PNG or SVG.
//
// Both draw what `tree` prints: the face is chosen by the shared face options (cli/chosen_face.hpp) and
// laid out and drawn by render/. The file is written whole or not at all (a temporary file
// beside it, renamed into place when complete), and only over a regular file. Errors are one line on
// stderr: status 2 for bad usage (bad arguments, a family the widget does not offer, an unknown
// output extension), 1 for the environment (a missing font, a path that cannot be written).

#include "draw/render_commands.hpp"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/atomic_file.hpp"
#include "cli/chosen_face.hpp"
#include "cli/printable.hpp"
#include "cli/subcommands.hpp"
#include "draw/commands.hpp"
#include "render/image.hpp"
#include "time/string_table.hpp"
#include "timeline/provider.hpp"

namespace ostrel::draw {
namespace {

using cli::ChosenFace;
using cli::CommonOptions;
using cli::CommonSettings;
using cli::Io;
using cli::Status;

/// The output format of `path`, or bad usage reported.
std::optional<render::Format> outputFormat(const std::string& path, Io& io) {
  const auto format = render::formatFor(path);
  if (!format) io.fail(Status::usage, "unknown output format: " + path + " (use .png or .svg)");
  return format;
}

/// Writes the drawn bytes to `path` and prints the path, or reports why not.
void finish(const render::Result<std::string>& bytes, const std::string& path, Io& io) {
  if (!bytes) return io.fail(Status::environment, bytes.error().message);
  const auto written = AtomicFile::write(path, *bytes);
  if (!written) {
    const FileError& e = written.error();
    return io.fail(Status::environment,
                   "cannot write " + path + ": " +
                       (e.kind == FileError::Kind::notRegular ? "not a regular file" : e.reason));
  }
  io.out << cli::printable(path) << "\n";
  io.succeed();
}

void addOutputOptions(CLI::App& cmd, std::string& output, double& scale, bool required) {
  auto* o = cmd.add_option("-o,--output", output,
                           required ? "The file to write: FILE.png or FILE.svg"
                                    : "The file to write: FILE.png or FILE.svg (default: gallery.png)");
  if (required) o->required();
  cmd.add_option("--scale", scale, "Device pixels per point for PNG (default: 2)")
      ->check(cli::finiteRange(0.25, 16));
}

}  // namespace

Entry previewEntry(const CommonSettings& settings, const std::string& at, bool sample) {
  if (sample) return cli::entryFor(settings, at, true);
  Entry entry;
  Provider{}.getSnapshot({.isPreview = true, .services = settings.services},
                         [&entry](Entry e) { entry = std::move(e); });
  if (!at.empty()) entry.date = cli::instant(at);
  return entry;
}

std::vector<render::PickerSection> pickerSections(const std::vector<WidgetConfiguration>& widgets,
                                                  const Entry& entry, const CommonSettings& settings,
                                                  int macos) {
  std::vector<render::PickerSection> sections;
  const auto dates = DateFormatter::make(settings.locale, settings.services.timeZone);
  for (const WidgetConfiguration& w : widgets) {
    render::PickerSection section{.displayName = StringTable::lookup(w.displayNameKey),
                                  .description = StringTable::lookup(w.descriptionKey),
                                  .faces = {}};
    for (WidgetFamily family : w.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        section.faces.push_back(render::PickerFace{
            .view = w.content(entry, cli::environmentFor(settings, family, scheme, macos, dates)),
            .family = family,
            .scheme = scheme,
        });
      }
    }
    sections.push_back(std::move(section));
  }
  return sections;
}

void addRender(CLI::App& app, Io& io) {
  auto* cmd = cli::addSubcommand(app, "render");
  auto options = std::make_shared<cli::FaceOptions>();
  auto output = std::make_shared<std::string>();
  auto scale = std::make_shared<double>(2);
  cli::addFaceOptions(*cmd, *options, *io.widgets, false);
  addOutputOptions(*cmd, *output, *scale, true);
  cmd->footer(cli::helpFooter(
      {"ostrel-widgets render --kind NextUp --family systemSmall -o next.png",
       "ostrel-widgets render --kind DueSoon --family systemLarge --scheme dark -o due.svg",
       "ostrel-widgets render --kind NextUp --family systemMedium --sample -o next.png --scale 3"}));
  cmd->callback([&io, options, output, scale] {
    const auto format = outputFormat(*output, io);
    if (!format) return;
    auto face = cli::resolveFace(*options, *io.widgets);
    if (const auto* error = std::get_if<std::string>(&face)) return io.fail(Status::usage, *error);
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) return io.fail(Status::environment, fonts.error().message);
    const ChosenFace& f = std::get<ChosenFace>(face);
    const View view = f.widget->content(f.entry, f.env);
    finish(render::renderWidget(view, f.env.widgetFamily, f.env.colorScheme, *fonts,
                                {.format = *format, .scale = *scale}),
           *output, io);
  });
}

void addGallery(CLI::App& app, Io& io) {
  auto* cmd = cli::addSubcommand(app, "gallery");
  struct Options {
    CommonOptions common;
    std::string at;
    bool sample = false;
    int macos = 14;
    std::string output = "gallery.png";
    double scale = 2;
  };
  auto o = std::make_shared<Options>();
  cmd->add_flag("--sample", o->sample, "Draw the built-in sample feed instead of the preview snapshot");
  cmd->add_option("--at", o->at, "The previews' date (default: the host's now)")
      ->check(cli::instantValidator());
  cmd->add_option("--macos", o->macos, "The system version whose background path is used (default: 14)")
      ->check(CLI::IsMember({13, 14}));
  addOutputOptions(*cmd, o->output, o->scale, false);
  cli::addCommonOptions(*cmd, o->common, false);
  cmd->footer(
      cli::helpFooter({"ostrel-widgets gallery", "ostrel-widgets gallery --sample -o sheet.svg",
                       "ostrel-widgets gallery --feed examples/widget.json --at 2026-03-02T10:00:00+11:00"}));
  cmd->callback([&io, o] {
    const auto format = outputFormat(o->output, io);
    if (!format) return;
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) return io.fail(Status::environment, fonts.error().message);
    const CommonSettings settings = cli::resolve(o->common);
    const Entry entry = previewEntry(settings, o->at, o->sample);
    const auto sections = pickerSections(*io.widgets, entry, settings, o->macos);
    finish(render::renderPickerSheet(sections, *fonts, {.format = *format, .scale = o->scale}), o->output,
           io);
  });
}

}  // namespace ostrel::draw
