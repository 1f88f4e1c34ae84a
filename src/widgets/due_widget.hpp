#pragma once
/// \file due_widget.hpp
/// `DueWidget`: the widget of the coming deadlines, as the host sees it: kind "DueSoon", the
/// provider's entries, `DueView` as its face, offered medium and large.
///
///     const WidgetConfiguration c = DueWidget{}.body();
///     View v = c.content(entry, env);   // Sized(family) around the DueView of `entry`

#include "timeline/entry.hpp"
#include "views/due_view.hpp"
#include "widgets/configuration.hpp"
#include "widgets/short_state.hpp"
#include "widgets/sized.hpp"

namespace ostrel {

struct DueWidget {
  static constexpr const char* kind = "DueSoon";
  /// The content of one entry: a `Sized` holding a copy of it.
  [[nodiscard]] static Sized<DueView> content(const Entry& entry);
  /// The short state of one entry for status bars, in `env`'s locale and zone (short_state.hpp).
  [[nodiscard]] static ShortState shortState(const Entry& entry, const Environment& env);
  [[nodiscard]] WidgetConfiguration body() const;
};

}  // namespace ostrel
