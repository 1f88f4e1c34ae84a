#pragma once
/// \file entry_reason.hpp
/// Why each date of a timeline is there: the instant of the request, a minute mark, a five-minute
/// mark, a class that starts or ends, a deadline that drops off the list. Where several candidates
/// fall on the same instant, that date has several reasons. `forEachCandidate` is the one list of
/// candidates: `Provider::timelineDates` keeps their dates, and `timelineReasons`, for the inspector
/// (`ostrel-widgets timeline`), their dates with their reasons.
///
///     for (const ReasonedDate& d : timelineReasons(now, minuteStart, loaded)) {
///       show(d.date, d.reasons);   // e.g. {minuteMark 20, classStart 0}
///     }

#include <cstddef>
#include <vector>

#include "feed/loaded.hpp"
#include "time/date.hpp"
#include "timeline/entry.hpp"
#include "timeline/provider.hpp"

namespace ostrel {

/// One reason for a timeline date.
struct EntryReason {
  enum class Kind {
    now,              ///< the instant of the request
    minuteMark,       ///< one of the 60 minute boundaries after the start of now's minute
    fiveMinuteMark,   ///< one of the 24 five-minute boundaries from 65 to 180 minutes after it
    classStart,       ///< a class begins
    classEnd,         ///< a class ends
    deadlineDropOff,  ///< twelve hours after a deadline fell due: it leaves the `due` list
  };
  Kind kind = Kind::now;
  /// For the marks: minutes after the start of now's minute (1 to 60, 65 to 180). For classes: the
  /// class's position in the feed's `classes`; for a drop-off: the item's position in `due`.
  std::size_t index = 0;
  friend constexpr bool operator==(const EntryReason&, const EntryReason&) = default;
};

/// A timeline date with every reason it has, in the provider's order of candidates: now, then each
/// class's start and end in document order, the deadlines in document order, then the marks.
struct ReasonedDate {
  Date date;
  std::vector<EntryReason> reasons;
  friend bool operator==(const ReasonedDate&, const ReasonedDate&) = default;
};

/// Calls `visit(date, reason)` for every candidate date of the timeline for `now`, `minuteStart` (the
/// start of the calendar minute holding `now`) and `loaded` within [now, now + `Provider::window`], in
/// the provider's order of candidates: now, then each class's start and end in document order, the
/// deadlines' drop-offs in document order, then the marks. Dates may repeat; they are not sorted.
template <class Visit>
void forEachCandidate(Date now, Date minuteStart, const Loaded& loaded, Visit visit) {
  using Kind = EntryReason::Kind;
  const Date horizon = now + Provider::window;
  const auto keep = [&](Date d, Kind kind, std::size_t index) {
    if (now <= d && d <= horizon) visit(d, EntryReason{.kind = kind, .index = index});
  };
  keep(now, Kind::now, 0);
  if (const Feed* f = loaded.feedValue()) {
    if (f->classes) {
      for (std::size_t i = 0; i < f->classes->size(); ++i) {
        keep((*f->classes)[i].start, Kind::classStart, i);
        keep((*f->classes)[i].end, Kind::classEnd, i);
      }
    }
    if (f->due) {
      for (std::size_t i = 0; i < f->due->size(); ++i) {
        keep((*f->due)[i].due + Entry::dueGrace, Kind::deadlineDropOff, i);
      }
    }
  }
  for (int i = 1; i <= Provider::firstMarks; ++i) {
    keep(minuteStart + i * Provider::minuteStep, Kind::minuteMark, static_cast<std::size_t>(i));
  }
  for (int k = Provider::laterMarksFrom; k <= Provider::laterMarksTo; k += Provider::laterMarksStep) {
    keep(minuteStart + k * Provider::minuteStep, Kind::fiveMinuteMark, static_cast<std::size_t>(k));
  }
}

/// The dates of the timeline for `now`, `minuteStart` and `loaded`, ascending, each with its
/// reasons. A pure function.
[[nodiscard]] std::vector<ReasonedDate> timelineReasons(Date now, Date minuteStart, const Loaded& loaded);

}  // namespace ostrel
