#pragma once
/// \file configuration.hpp
/// How a widget declares itself to the host: its kind, the provider the host asks for entries, the
/// content function that turns an entry into a view, and what the host shows when choosing widgets
/// (display name and description, both localisation keys) and the families it may be drawn in.
/// A widget also gives its short state for status bars (short_state.hpp) beside its content.
///
///     WidgetConfiguration c =
///         StaticConfiguration("NextUp", Provider{}, &content)
///             .configurationDisplayName("Next up")
///             .description("Your next class, counting down, with its room.")
///             .supportedFamilies({WidgetFamily::systemSmall, WidgetFamily::systemMedium});
///     c.shortState = &shortState;

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "timeline/entry.hpp"
#include "timeline/provider.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"
#include "widgets/short_state.hpp"

namespace ostrel {

struct WidgetConfiguration {
  std::string kind;
  Provider provider;
  /// The view of one entry, evaluated in the environment the host draws it in.
  std::function<View(const Entry&, const Environment&)> content;
  /// The short state of one entry for status bars, in the environment's locale and zone.
  std::function<ShortState(const Entry&, const Environment&)> shortState;
  std::string displayNameKey;
  std::string descriptionKey;
  std::vector<WidgetFamily> families;

  [[nodiscard]] WidgetConfiguration configurationDisplayName(std::string key) && {
    displayNameKey = std::move(key);
    return std::move(*this);
  }
  [[nodiscard]] WidgetConfiguration description(std::string key) && {
    descriptionKey = std::move(key);
    return std::move(*this);
  }
  [[nodiscard]] WidgetConfiguration supportedFamilies(std::vector<WidgetFamily> list) && {
    families = std::move(list);
    return std::move(*this);
  }

  /// Whether the widget is offered in `family`.
  [[nodiscard]] bool offers(WidgetFamily family) const {
    return std::find(families.begin(), families.end(), family) != families.end();
  }
};

/// A configuration from a content function `Entry -> V`, where V is a view with `view(env)`.
template <class Content>
[[nodiscard]] WidgetConfiguration StaticConfiguration(std::string_view kind, Provider provider,
                                                      Content content) {
  return WidgetConfiguration{
      .kind = std::string(kind),
      .provider = provider,
      .content = [content = std::move(content)](const Entry& e,
                                                const Environment& env) { return content(e).view(env); },
      .shortState = {},
      .displayNameKey = {},
      .descriptionKey = {},
      .families = {},
  };
}

}  // namespace ostrel
