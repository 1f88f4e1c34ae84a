#include "draw/engine_options.hpp"

#include <cmath>
#include <optional>

#include "cli/chosen_face.hpp"

namespace ostrel::draw {

using cli::CommonOptions;

namespace {

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

}  // namespace

void addEngineOptions(CLI::App& cmd, EngineOptions& options) {
  cmd.add_option(
         "--speed", options.speed,
         "Run the clock N times faster than real time (from --now when given), or max: from wake to wake")
      ->check(speedValidator());
  cmd.add_option("--until", options.until, "Stop when the clock reaches this instant")
      ->check(cli::instantValidator());
}

std::optional<std::string> refusal(const EngineOptions& options) {
  if (options.speed == "max" && options.until.empty()) return "--speed max needs --until";
  return std::nullopt;
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
    const std::optional<WidgetFamily> f = cli::familyNamed(family);
    if (!f || !widget->offers(*f)) {
      std::string why = "--widget: " + kind;
      why += " is not offered in " + family;
      why += "; it offers " + cli::familyList(*widget);
      return why;
    }
    shown.push_back(ShownWidget{.widget = *widget, .family = *f});
  }
  return shown;
}

EngineClock engineClock(const CommonOptions& common, const EngineOptions& options) {
  const Date start = cli::resolve(common).services.clock.now();
  if (options.speed == "max") return EngineClock::fastest(start);
  if (!options.speed.empty()) return EngineClock::simulated(start, std::stod(options.speed));
  return common.now.empty() ? EngineClock::system() : EngineClock::simulated(start, 1);
}

EngineSettings engineSettings(const CommonOptions& common, const EngineOptions& options) {
  const std::string& until = options.until;
  return EngineSettings{
      .feed = cli::resolve(common).services.feed,
      .timeZone = common.tz.empty() ? std::nullopt : std::optional(TimeZone::named(common.tz)),
      .locale = common.locale.empty() ? std::nullopt : std::optional(common.locale),
      .until = until.empty() ? std::nullopt : std::optional(cli::instant(until)),
      .system = {}};
}

}  // namespace ostrel::draw
