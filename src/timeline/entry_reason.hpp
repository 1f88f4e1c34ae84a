#pragma once
/// \file entry_reason.hpp
/// Why each date of a timeline is there: the instant of the request, a minute mark, a five-minute
/// mark, a class that starts or ends, a deadline that drops off the list. Where several candidates
/// fall on the same instant, that date has several reasons. For the inspector (`ostrel-widgets
/// timeline`), not for the widgets: it follows the provider's rules and yields exactly the dates of
/// `Provider::timelineDates` for the same inputs.
///
///     for (const ReasonedDate& d : timelineReasons(now, minuteStart, loaded)) {
///       show(d.date, d.reasons);   // e.g. {minuteMark 20, classStart 0}
///     }

#include <cstddef>
#include <vector>

#include "feed/loaded.hpp"
#include "time/date.hpp"

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

/// The dates of the timeline for `now`, `minuteStart` and `loaded`, ascending, each with its
/// reasons. A pure function; the same dates as `Provider::timelineDates(now, minuteStart, loaded)`.
[[nodiscard]] std::vector<ReasonedDate> timelineReasons(Date now, Date minuteStart, const Loaded& loaded);

}  // namespace ostrel
