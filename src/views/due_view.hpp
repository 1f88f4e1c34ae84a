#pragma once
/// \file due_view.hpp
/// The face of the "Due soon" widget: the deadlines still listed, each with its unit's colour bar,
/// name, unit, weight and a countdown or "Overdue", under a heading with today's card count; in the
/// large family also the next classes. A switched-off or missing feed shows a `Note` instead.
///
///     View face = DueView{.entry = entry, .family = WidgetFamily::systemLarge}.view(env);
///
/// The colour scheme comes from the environment; every time shown is measured against `entry.date`.

#include <cstdint>
#include <optional>
#include <string>

#include "components/ui.hpp"
#include "timeline/entry.hpp"

namespace ostrel {

struct DueView {
  Entry entry;
  WidgetFamily family = WidgetFamily::systemMedium;

  /// Rows shown: five in the large family, three in every other.
  static constexpr std::size_t largeRows = 5;
  static constexpr std::size_t otherRows = 3;
  /// A countdown this far ahead or more is drawn in the secondary colour, nearer ones in the accent.
  static constexpr double soon = 172'800;

  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "DueView" (args: date, loaded, family) around `body`.
  [[nodiscard]] View view(const Environment& env) const;

  /// The heading's trailing text for a card count: "1 card due", "2 cards due"; none at 0 or below.
  [[nodiscard]] static std::optional<std::string> cardText(std::int64_t cards);
  /// A weight in whole percent, halves away from zero; nothing when the rounded value is not finite
  /// or lies outside the 64-bit integers (such a weight is left off the face).
  [[nodiscard]] static std::optional<std::int64_t> wholePercent(double weight);

 private:
  [[nodiscard]] View row(const DueItem& d, const Environment& env) const;
  [[nodiscard]] View classRow(const ClassItem& c, const Environment& env) const;
};

}  // namespace ostrel
