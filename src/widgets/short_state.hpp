#pragma once
/// \file short_state.hpp
/// A widget's face in a word and a short line, for status bars that style and abbreviate: what
/// state it is in and the one thing it counts down to. Each widget declares its own beside its
/// content (`WidgetConfiguration::shortState`); the notes for a feed that is off or missing are
/// the same for every widget.
///
/// | kind    | state                                | short                                      |
/// |---------|--------------------------------------|--------------------------------------------|
/// | any     | `off` (switched off)                 | the note's title: "Widgets are off"        |
/// |         | `missing` (no usable feed)           | the note's title: "Open Ostrel"            |
/// | NextUp  | `next` (a class ahead)               | "FINC3600 in 40 min"                       |
/// |         | `on-now` (under way)                 | "FINC3600 ends 11:50 AM"                   |
/// |         | `none`                               | "No class this week"                       |
/// | DueSoon | `overdue` (any listed item past due) | the first overdue item: "STAT2011 Overdue" |
/// |         | `due`                                | the nearest: "COMP2123 in 2 h"             |
/// |         | `none`                               | "Nothing due in the next three weeks"      |
///
///     ShortState s = NextUpWidget::shortState(entry, env);
///     // {.state = "next", .text = "FINC3600 in 40 min"}

#include <optional>
#include <string>

#include "feed/loaded.hpp"

namespace ostrel {

struct ShortState {
  std::string state;  ///< next, on-now, due, overdue, none, off, missing
  std::string text;   ///< the short line, in the locale and zone of the environment it was made in

  /// The state of a face showing a note instead of the feed (`off`, `missing`); none for a feed.
  [[nodiscard]] static std::optional<ShortState> ofNote(const Loaded& loaded);
  /// `rest` after the unit code `unit` and a space, or alone when the item has no unit.
  [[nodiscard]] static std::string unitLine(const std::string& unit, const std::string& rest);
  friend bool operator==(const ShortState&, const ShortState&) = default;
};

}  // namespace ostrel
