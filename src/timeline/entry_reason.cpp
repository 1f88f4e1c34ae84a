#include "timeline/entry_reason.hpp"

#include <algorithm>
#include <utility>

namespace ostrel {

std::vector<ReasonedDate> timelineReasons(Date now, Date minuteStart, const Loaded& loaded) {
  std::vector<std::pair<Date, EntryReason>> kept;
  forEachCandidate(now, minuteStart, loaded, [&kept](Date d, EntryReason r) { kept.emplace_back(d, r); });

  // Ascending by date; candidates on one instant keep the order in which they were made.
  std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ReasonedDate> out;
  for (auto& [date, reason] : kept) {
    if (out.empty() || !(out.back().date == date)) out.push_back(ReasonedDate{.date = date, .reasons = {}});
    out.back().reasons.push_back(reason);
  }
  return out;
}

}  // namespace ostrel
