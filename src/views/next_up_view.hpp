#pragma once
/// \file next_up_view.hpp
/// The face of the "Next up" widget: the next class counting down (or when it ends, once under way)
/// with its unit, title and room; in the medium family a second column of up to three later classes.
/// A switched-off or missing feed shows a `Note` instead.
///
///     View face = NextUpView{.entry = entry, .family = WidgetFamily::systemMedium}.view(env);
///
/// A pure function of its fields and the environment's locale and time zone: every time shown is
/// measured against `entry.date`, never the clock.

#include "components/ui.hpp"
#include "timeline/entry.hpp"

namespace ostrel {

struct NextUpView {
  Entry entry;
  WidgetFamily family = WidgetFamily::systemSmall;

  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "NextUpView" (args: date, loaded, family) around `body`.
  [[nodiscard]] View view(const Environment& env) const;

 private:
  /// The next-class column, filling its space.
  [[nodiscard]] View main(const Environment& env) const;
  /// The later-classes column.
  [[nodiscard]] View laterList(const Environment& env) const;
};

}  // namespace ostrel
