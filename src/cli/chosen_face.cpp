#include "cli/chosen_face.hpp"

#include <utility>

#include "timeline/sample.hpp"

namespace ostrel::cli {

namespace {
constexpr WidgetFamily kFamilies[] = {WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                      WidgetFamily::systemLarge};
}

std::optional<WidgetFamily> familyNamed(const std::string& text) {
  for (WidgetFamily f : kFamilies) {
    if (text == name(f)) return f;
  }
  return std::nullopt;
}

std::string familyList(const WidgetConfiguration& widget) {
  std::string s;
  for (WidgetFamily f : widget.families) s += (s.empty() ? "" : ", ") + std::string(name(f));
  return s;
}

void addFaceOptions(CLI::App& cmd, FaceOptions& options, const std::vector<WidgetConfiguration>& widgets,
                    bool withJson) {
  std::vector<std::string> kinds;
  kinds.reserve(widgets.size());
  for (const WidgetConfiguration& w : widgets) kinds.push_back(w.kind);
  std::vector<std::string> families;
  for (WidgetFamily f : kFamilies) families.emplace_back(name(f));
  cmd.add_option("--kind", options.kind, "The widget")->required()->check(CLI::IsMember(kinds));
  cmd.add_option("--family", options.family, "The size family")->required()->check(CLI::IsMember(families));
  cmd.add_option("--scheme", options.scheme, "The appearance (default: light)")
      ->check(CLI::IsMember({"light", "dark"}));
  cmd.add_option("--at", options.at, "The entry's date (default: the host's now)")->check(instantValidator());
  cmd.add_flag("--sample", options.sample, "Show the sample feed instead of the loaded one");
  cmd.add_option("--macos", options.macos, "The system version whose background path is used (default: 14)")
      ->check(CLI::IsMember({13, 14}));
  addCommonOptions(cmd, options.common, withJson);
}

Environment environmentFor(const CommonSettings& settings, WidgetFamily family, ColorScheme scheme, int macos,
                           std::shared_ptr<const DateFormatter> dates) {
  if (!dates) dates = DateFormatter::make(settings.locale, settings.services.timeZone);
  return Environment{.widgetFamily = family,
                     .colorScheme = scheme,
                     .systemVersion = SystemVersion{macos, 0, 0},
                     .locale = settings.locale,
                     .timeZone = settings.services.timeZone,
                     .dates = std::move(dates)};
}

Entry entryFor(const CommonSettings& settings, const std::string& at, bool sample) {
  const Date now = settings.services.clock.now();
  return Entry{.date = at.empty() ? now : instant(at),
               .loaded = sample ? Loaded::feed(Sample::feed(Clock::fixed(now))) : settings.services.load()};
}

std::variant<ChosenFace, std::string> resolveFace(const FaceOptions& options,
                                                  const std::vector<WidgetConfiguration>& widgets) {
  const WidgetConfiguration* widget = nullptr;
  for (const WidgetConfiguration& w : widgets) {
    if (w.kind == options.kind) widget = &w;
  }
  if (widget == nullptr) return "unknown widget kind: " + options.kind;
  const std::optional<WidgetFamily> family = familyNamed(options.family);
  if (!family || !widget->offers(*family)) {
    return widget->kind + " is not offered in " + options.family + "; it offers " + familyList(*widget);
  }
  const CommonSettings settings = resolve(options.common);
  return ChosenFace{.widget = widget,
                    .entry = entryFor(settings, options.at, options.sample),
                    .env = environmentFor(settings, *family,
                                          options.scheme == "dark" ? ColorScheme::dark : ColorScheme::light,
                                          options.macos)};
}

}  // namespace ostrel::cli
