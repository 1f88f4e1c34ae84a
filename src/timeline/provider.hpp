#pragma once
/// \file provider.hpp
/// `Provider`: the one timeline provider of both widgets. Stateless; every request reads the host's
/// clock once and the feed once, and calls its completion exactly once before returning.
///
/// A timeline holds an entry for now, for each of the next 60 minute boundaries, for every five
/// minutes from 65 to 180 minutes after the current minute began, and for every class start, class
/// end and deadline drop-off (due + 12 h) within 24 hours; the host is asked back after 30 minutes.

#include <functional>
#include <vector>

#include "timeline/entry.hpp"
#include "timeline/services.hpp"
#include "timeline/timeline.hpp"

namespace ostrel {

struct Provider {
  static constexpr double minuteStep = 60;
  static constexpr int firstMarks = 60;      ///< minutes 1 … 60
  static constexpr int laterMarksFrom = 65;  ///< minutes 65, 70 … 180
  static constexpr int laterMarksTo = 180;
  static constexpr int laterMarksStep = 5;
  static constexpr double window = 86'400;  ///< dates after now + 24 h are dropped
  static constexpr double reload = 1'800;   ///< ask again 30 minutes after now

  /// An entry dated now holding the sample feed; reads no file.
  [[nodiscard]] Entry placeholder(const TimelineProviderContext& context) const;
  /// One entry dated now with the loaded feed; in a preview, the sample stands in for a missing feed.
  void getSnapshot(const TimelineProviderContext& context,
                   const std::function<void(Entry)>& completion) const;
  /// The timeline for the host's now.
  void getTimeline(const TimelineProviderContext& context,
                   const std::function<void(Timeline<Entry>)>& completion) const;

  /// The dates of a timeline: ascending, unique, within [now, now + 24 h]. `minuteStart` is the start
  /// of the calendar minute holding `now` (or `now` itself where the calendar has none).
  [[nodiscard]] static std::vector<Date> timelineDates(Date now, Date minuteStart, const Loaded& loaded);
  /// The whole timeline for those inputs; every entry shares `loaded`'s one feed.
  [[nodiscard]] static Timeline<Entry> timeline(Date now, Date minuteStart, const Loaded& loaded);
};

}  // namespace ostrel
