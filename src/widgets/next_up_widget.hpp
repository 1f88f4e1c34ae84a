#pragma once
/// \file next_up_widget.hpp
/// `NextUpWidget`: the widget of the next class, as the host sees it: kind "NextUp", the provider's
/// entries, `NextUpView` as its face, offered small and medium.
///
///     const WidgetConfiguration c = NextUpWidget{}.body();
///     View v = c.content(entry, env);   // Sized(family) around the NextUpView of `entry`

#include "timeline/entry.hpp"
#include "views/next_up_view.hpp"
#include "widgets/configuration.hpp"
#include "widgets/short_state.hpp"
#include "widgets/sized.hpp"

namespace ostrel {

struct NextUpWidget {
  static constexpr const char* kind = "NextUp";
  /// The content of one entry: a `Sized` holding a copy of it.
  [[nodiscard]] static Sized<NextUpView> content(const Entry& entry);
  /// The short state of one entry for status bars, in `env`'s locale and zone (short_state.hpp).
  [[nodiscard]] static ShortState shortState(const Entry& entry, const Environment& env);
  [[nodiscard]] WidgetConfiguration body() const;
};

}  // namespace ostrel
