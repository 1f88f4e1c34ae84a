// `ostrel-widgets render` and `ostrel-widgets gallery`: faces drawn to PNG or SVG.
//
// Both draw what `tree` prints: the face is chosen by the shared face options (cli/face.hpp) and
// laid out and drawn by platform/render. Errors are one line on stderr and exit status 2: bad
// arguments, a family the widget does not offer, a missing font, an unknown output extension, an
// unwritable path.

#include "cli/render_commands.hpp"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "cli/face.hpp"
#include "platform/strings.hpp"

namespace ostrel::cli {
namespace {

/// Reports a one-line error and sets exit status 2.
void fail(Io& io, const std::string& message) {
  io.err << "ostrel-widgets: error: " << message << "\n";
  io.status = 2;
}

/// The output format of `path`, or an error reported.
std::optional<render::Format> outputFormat(const std::string& path, Io& io) {
  const auto format = render::formatFor(path);
  if (!format) fail(io, "unknown output format: " + path + " (use .png or .svg)");
  return format;
}

/// Writes `bytes` and prints the path, or reports why not.
void finish(const render::Result<std::string>& bytes, const std::string& path, Io& io) {
  if (!bytes) return fail(io, bytes.error().message);
  const auto written = render::writeFile(path, *bytes);
  if (!written) return fail(io, written.error().message);
  io.out << path << "\n";
  io.status = 0;
}

void addOutputOptions(CLI::App& cmd, std::string& output, double& scale, bool required) {
  auto* o = cmd.add_option("-o,--output", output,
                           required ? "The file to write: FILE.png or FILE.svg"
                                    : "The file to write: FILE.png or FILE.svg (default: gallery.png)");
  if (required) o->required();
  cmd.add_option("--scale", scale, "Device pixels per point for PNG (default: 2)")
      ->check(CLI::Range(0.25, 16.0));
}

}  // namespace

std::vector<render::GalleryItem> galleryFaces(const std::vector<WidgetConfiguration>& widgets,
                                              const Entry& entry, const HostSettings& settings, int macos) {
  std::vector<render::GalleryItem> items;
  int row = 0;
  for (const WidgetConfiguration& w : widgets) {
    const std::string displayName = StringTable::lookup(w.displayNameKey);
    for (WidgetFamily family : w.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        items.push_back(render::GalleryItem{
            .view = w.content(entry, environmentFor(settings, family, scheme, macos)),
            .family = family,
            .scheme = scheme,
            .label = displayName + " · " + name(family) + " · " + name(scheme),
            .row = row,
        });
      }
    }
    ++row;
  }
  return items;
}

void addRender(CLI::App& app, Io& io) {
  auto* cmd =
      app.add_subcommand("render", "Draw one face (the tree that `tree` prints) to a PNG or SVG file");
  auto options = std::make_shared<FaceOptions>();
  auto output = std::make_shared<std::string>();
  auto scale = std::make_shared<double>(2);
  addFaceOptions(*cmd, *options, *io.widgets);
  addOutputOptions(*cmd, *output, *scale, true);
  cmd->callback([&io, options, output, scale] {
    const auto format = outputFormat(*output, io);
    if (!format) return;
    auto face = resolveFace(*options, *io.widgets);
    if (const auto* error = std::get_if<std::string>(&face)) return fail(io, *error);
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) return fail(io, fonts.error().message);
    const Face& f = std::get<Face>(face);
    const View view = f.widget->content(f.entry, f.env);
    finish(render::renderWidget(view, f.env.widgetFamily, f.env.colorScheme, *fonts,
                                {.format = *format, .scale = *scale}),
           *output, io);
  });
}

void addGallery(CLI::App& app, Io& io) {
  auto* cmd = app.add_subcommand(
      "gallery", "Draw every widget in every family it offers, light and dark, on one labelled sheet");
  struct Options {
    HostOptions host;
    std::string at;
    bool sample = false;
    int macos = 14;
    std::string output = "gallery.png";
    double scale = 2;
  };
  auto o = std::make_shared<Options>();
  cmd->add_flag("--sample", o->sample, "Draw the built-in sample feed instead of the loaded one");
  cmd->add_option("--at", o->at, "The entries' date (default: the host's now)")->check(instantValidator());
  cmd->add_option("--macos", o->macos, "The system version whose background path is used (default: 14)")
      ->check(CLI::IsMember({13, 14}));
  addOutputOptions(*cmd, o->output, o->scale, false);
  addHostOptions(*cmd, o->host, false);
  cmd->callback([&io, o] {
    const auto format = outputFormat(o->output, io);
    if (!format) return;
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) return fail(io, fonts.error().message);
    const HostSettings settings = resolve(o->host);
    const Entry entry = entryFor(settings, o->at, o->sample);
    const auto items = galleryFaces(*io.widgets, entry, settings, o->macos);
    finish(render::renderGallery(items, *fonts, {.format = *format, .scale = o->scale}), o->output, io);
  });
}

}  // namespace ostrel::cli
