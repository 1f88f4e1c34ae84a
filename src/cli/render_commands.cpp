// `ostrel-widgets render` and `ostrel-widgets gallery`: faces drawn to PNG or SVG.
//
// Both draw what the host would show: the feed is loaded once, the face is built for an entry at
// `--at` (default: now) and laid out and drawn by platform/render. Errors are one line on stderr
// and exit status 2: bad arguments, a missing font, an unknown output extension, an unwritable path.

#include "cli/render_commands.hpp"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "components/ground.hpp"
#include "components/note.hpp"
#include "feed/date_rule.hpp"
#include "feed/feed_file.hpp"
#include "platform/clock.hpp"
#include "platform/render/render.hpp"

namespace ostrel::cli {
namespace {

/// The face selectors (those of `tree`) and the host options.
struct Selection {
  std::string kind = "NextUp";
  std::string family = "systemSmall";
  std::string scheme = "light";
  std::string at;  ///< empty: now
  bool sample = false;
  int macos = 14;
  std::string feed;  ///< empty: the fixed feed location
  std::string now;   ///< empty: the system clock
  std::string tz;
  std::string locale;
};

std::optional<WidgetFamily> familyNamed(const std::string& s) {
  for (WidgetFamily f : {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
    if (s == name(f)) return f;
  }
  return std::nullopt;
}

ColorScheme schemeNamed(const std::string& s) {
  return s == "dark" ? ColorScheme::dark : ColorScheme::light;
}

/// The user's locale from the environment (LC_ALL, LC_TIME, LANG) as an ICU name.
std::string environmentLocale() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v == nullptr || *v == '\0') continue;
    std::string s(v);
    s = s.substr(0, s.find_first_of(".@"));
    if (s == "C" || s == "POSIX" || s.empty()) return "en_US";
    return s;
  }
  return "en_US";
}

void addHostOptions(CLI::App* cmd, Selection& s) {
  cmd->add_option("--feed", s.feed, "The feed document (default: the fixed feed location)");
  cmd->add_option("--now", s.now, "The host's clock, ISO 8601 (default: the system clock)");
  cmd->add_option("--tz", s.tz, "Time zone, IANA name (default: the environment's)");
  cmd->add_option("--locale", s.locale, "Locale, such as en_AU (default: the environment's)");
}

void addSelectors(CLI::App* cmd, Selection& s) {
  cmd->add_option("--kind", s.kind, "The widget")->required()->check(CLI::IsMember({"NextUp", "DueSoon"}));
  cmd->add_option("--family", s.family, "The size family")
      ->required()
      ->check(CLI::IsMember({"systemSmall", "systemMedium", "systemLarge"}));
  cmd->add_option("--scheme", s.scheme, "The appearance (default: light)")
      ->check(CLI::IsMember({"light", "dark"}));
  cmd->add_option("--at", s.at, "The entry's date, ISO 8601 (default: now)");
  cmd->add_flag("--sample", s.sample, "Draw the built-in sample feed instead of the feed document");
  cmd->add_option("--macos", s.macos, "The system version, 13 or 14 (default: 14)")
      ->check(CLI::IsMember({13, 14}));
  addHostOptions(cmd, s);
}

/// Reports a one-line error and sets exit status 2.
void fail(Io& io, const std::string& message) {
  io.err << "ostrel-widgets: error: " << message << "\n";
  io.status = 2;
}

/// What every drawing needs: "now", the entry's date, the loaded feed, zone and locale.
struct Host {
  Date now;
  Date at;
  Loaded loaded;
  std::string tz, locale;
};

std::optional<Host> host(const Selection& s, Io& io) {
  std::optional<Date> now = s.now.empty() ? std::optional<Date>(Clock::system().now()) : parseDate(s.now);
  if (!now) {
    fail(io, "--now: not an ISO 8601 date-time: " + s.now);
    return std::nullopt;
  }
  std::optional<Date> at = s.at.empty() ? now : parseDate(s.at);
  if (!at) {
    fail(io, "--at: not an ISO 8601 date-time: " + s.at);
    return std::nullopt;
  }
  // The zone is passed on as given; the date formatting falls back to UTC for a name it does not know.
  const char* envZone = std::getenv("TZ");
  const std::string tz = !s.tz.empty() ? s.tz : (envZone != nullptr && *envZone != '\0') ? envZone : "UTC";
  const Loaded loaded = s.feed.empty() ? FeedFile::load() : FeedFile::load(std::filesystem::path(s.feed));
  return Host{*now, *at, loaded, tz, s.locale.empty() ? environmentLocale() : s.locale};
}

Environment environment(const Host& h, WidgetFamily family, ColorScheme scheme, int macos) {
  Environment env;
  env.widgetFamily = family;
  env.colorScheme = scheme;
  env.systemVersion = SystemVersion{macos, 0, 0};
  env.locale = h.locale;
  env.timeZone = h.tz;
  return env;
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

}  // namespace

// ---- Integration points ------------------------------------------------------------------------
// The widget declarations and the faces live above platform/: `galleryKinds()` is to list the bundle's
// declarations (kind, display name, offered families, in bundle order) and `widgetFace()` to build the
// widget's content for an entry, exactly as `tree` does, so that `render` draws the tree that `tree`
// prints. Until those are in place, every face is the `Note` of its widget on the background.

std::vector<GalleryKind> galleryKinds() {
  return {GalleryKind{"NextUp", "Next up", {WidgetFamily::systemSmall, WidgetFamily::systemMedium}},
          GalleryKind{"DueSoon", "Due soon", {WidgetFamily::systemMedium, WidgetFamily::systemLarge}}};
}

/// The widget `kind`'s content for an entry at `date` with `loaded`, as drawn in `env`.
View widgetFace(const std::string& kind, const Loaded& loaded, Date date, bool sample,
                const Environment& env) {
  (void)date;
  (void)sample;
  const std::string heading = kind == "DueSoon" ? "Due soon" : "Next up";
  return ostrelBackground(Group({Note{.heading = heading, .loaded = loaded}.view(env)}), env);
}
// -------------------------------------------------------------------------------------------------

std::vector<render::GalleryItem> galleryFaces(const Loaded& loaded, Date at, bool sample,
                                              const Environment& base) {
  std::vector<render::GalleryItem> items;
  int row = 0;
  for (const GalleryKind& k : galleryKinds()) {
    for (WidgetFamily family : k.families) {
      for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        Environment env = base;
        env.widgetFamily = family;
        env.colorScheme = scheme;
        items.push_back(render::GalleryItem{
            .view = widgetFace(k.kind, loaded, at, sample, env),
            .family = family,
            .scheme = scheme,
            .label = k.displayName + " · " + name(family) + " · " + name(scheme),
            .row = row,
        });
      }
    }
    ++row;
  }
  return items;
}

void addRender(CLI::App& app, Io& io) {
  auto* cmd = app.add_subcommand("render", "Draw one widget face to a PNG or SVG file");
  auto s = std::make_shared<Selection>();
  auto output = std::make_shared<std::string>();
  auto scale = std::make_shared<double>(2);
  addSelectors(cmd, *s);
  cmd->add_option("-o,--output", *output, "The file to write: FILE.png or FILE.svg")->required();
  cmd->add_option("--scale", *scale, "Device pixels per point for PNG (default: 2)")
      ->check(CLI::Range(0.25, 16.0));
  cmd->callback([&io, s, output, scale] {
    const auto format = outputFormat(*output, io);
    if (!format) return;
    const auto h = host(*s, io);
    if (!h) return;
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) return fail(io, fonts.error().message);
    const WidgetFamily family = familyNamed(s->family).value_or(WidgetFamily::systemSmall);
    const ColorScheme scheme = schemeNamed(s->scheme);
    const Environment env = environment(*h, family, scheme, s->macos);
    const View view = widgetFace(s->kind, h->loaded, h->at, s->sample, env);
    finish(render::renderWidget(view, family, scheme, *fonts, {.format = *format, .scale = *scale}), *output,
           io);
  });
}

void addGallery(CLI::App& app, Io& io) {
  auto* cmd = app.add_subcommand(
      "gallery", "Draw every widget in every offered family and both appearances on one sheet");
  auto s = std::make_shared<Selection>();
  auto output = std::make_shared<std::string>("gallery.png");
  auto scale = std::make_shared<double>(2);
  cmd->add_option("-o,--output", *output, "The file to write: FILE.png or FILE.svg (default: gallery.png)");
  cmd->add_flag("--sample", s->sample, "Draw the built-in sample feed instead of the feed document");
  cmd->add_option("--at", s->at, "The entries' date, ISO 8601 (default: now)");
  cmd->add_option("--macos", s->macos, "The system version, 13 or 14 (default: 14)")
      ->check(CLI::IsMember({13, 14}));
  cmd->add_option("--scale", *scale, "Device pixels per point for PNG (default: 2)")
      ->check(CLI::Range(0.25, 16.0));
  addHostOptions(cmd, *s);
  cmd->callback([&io, s, output, scale] {
    const auto format = outputFormat(*output, io);
    if (!format) return;
    const auto h = host(*s, io);
    if (!h) return;
    const auto fonts = render::PangoMeasurer::create();
    if (!fonts) return fail(io, fonts.error().message);
    const auto items = galleryFaces(h->loaded, h->at, s->sample,
                                    environment(*h, WidgetFamily::systemSmall, ColorScheme::light, s->macos));
    finish(render::renderGallery(items, *fonts, {.format = *format, .scale = *scale}), *output, io);
  });
}

}  // namespace ostrel::cli
