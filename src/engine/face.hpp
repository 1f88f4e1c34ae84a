#pragma once
/// \file face.hpp
/// `Face`: one widget's current entry with everything needed to show it, except the appearance.
/// Each output builds the view itself, in its own environment, so a window can redraw in the dark
/// scheme without asking the engine for anything; a status bar takes the widget's short state.
///
///     View light = face.view(ColorScheme::light);   // the face's view tree
///     ShortState s = face.state();                   // {.state = "next", .text = "FINC3600 in 40 min"}

#include <functional>
#include <memory>
#include <string>

#include "timeline/entry.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"
#include "widgets/short_state.hpp"

namespace ostrel {

struct Face {
  std::string kind;  ///< the widget's kind, "NextUp" or "DueSoon"
  WidgetFamily family = WidgetFamily::systemSmall;
  Entry entry;                          ///< the entry current now (the latest whose date is not after now)
  TimeZone timeZone = TimeZone::utc();  ///< the zone and locale the engine follows now
  std::string locale = "en_US";
  /// The formatter for `locale` and `timeZone`, shared by every face the engine shows in them.
  std::shared_ptr<const DateFormatter> dates = nullptr;
  /// The widget's content function (its declaration's `content`).
  std::function<View(const Entry&, const Environment&)> content;
  /// The widget's short state for status bars (its declaration's `shortState`).
  std::function<ShortState(const Entry&, const Environment&)> shortState;

  /// The environment this face is drawn in for `scheme`.
  [[nodiscard]] Environment environment(ColorScheme scheme) const {
    return Environment{.widgetFamily = family,
                       .colorScheme = scheme,
                       .systemVersion = SystemVersion{},
                       .locale = locale,
                       .timeZone = timeZone,
                       .dates = dates};
  }
  /// The face's view tree in `scheme`.
  [[nodiscard]] View view(ColorScheme scheme) const { return content(entry, environment(scheme)); }
  /// The face's short state, in its locale and zone; an empty one when the face was given no
  /// `shortState`.
  [[nodiscard]] ShortState state() const {
    return shortState ? shortState(entry, environment(ColorScheme::light)) : ShortState{};
  }
};

}  // namespace ostrel
