#include "draw/engine_options.hpp"

#include <cmath>
#include <optional>

#include "cli/chosen_face.hpp"

namespace ostrel::cli {

CLI::Validator speedValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        if (text == "max") return {};
        try {
          std::size_t used = 0;
          const double v = std::stod(text, &used);
          if (used == text.size() && std::isfinite(v) && v > 0) return {};
        } catch (const std::exception&) {
        }
        return "not a positive number or max: " + text;
      },
      "N|max");
}

std::variant<std::vector<ShownWidget>, std::string> shownWidgets(
    const std::vector<std::string>& names, const std::vector<WidgetConfiguration>& widgets) {
  std::vector<ShownWidget> shown;
  if (names.empty()) {
    for (const WidgetConfiguration& w : widgets) {
      for (WidgetFamily f : w.families) shown.push_back(ShownWidget{.widget = w, .family = f});
    }
    return shown;
  }
  for (const std::string& text : names) {
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    const std::string family = colon == std::string::npos ? "" : text.substr(colon + 1);
    const WidgetConfiguration* widget = nullptr;
    for (const WidgetConfiguration& w : widgets) {
      if (w.kind == kind) widget = &w;
    }
    if (widget == nullptr || colon == std::string::npos) {
      return "--widget: not KIND:FAMILY with a known kind: " + text;
    }
    const std::optional<WidgetFamily> f = familyNamed(family);
    if (!f || !widget->offers(*f)) {
      std::string why = "--widget: " + kind;
      why += " is not offered in " + family;
      why += "; it offers " + familyList(*widget);
      return why;
    }
    shown.push_back(ShownWidget{.widget = *widget, .family = *f});
  }
  return shown;
}

EngineClock engineClock(const CommonOptions& common, const std::string& speed) {
  const Date start = resolve(common).services.clock.now();
  if (speed == "max") return EngineClock::fastest(start);
  if (!speed.empty()) return EngineClock::simulated(start, std::stod(speed));
  return common.now.empty() ? EngineClock::system() : EngineClock::simulated(start, 1);
}

EngineSettings engineSettings(const CommonOptions& common, const std::string& until) {
  return EngineSettings{
      .feed = resolve(common).services.feed,
      .timeZone = common.tz.empty() ? std::nullopt : std::optional(TimeZone::named(common.tz)),
      .locale = common.locale.empty() ? std::nullopt : std::optional(common.locale),
      .until = until.empty() ? std::nullopt : std::optional(instant(until)),
      .system = {}};
}

}  // namespace ostrel::cli
