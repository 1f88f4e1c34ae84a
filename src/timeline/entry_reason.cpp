#include "timeline/entry_reason.hpp"

#include <algorithm>
#include <utility>

#include "timeline/entry.hpp"
#include "timeline/provider.hpp"

namespace ostrel {

std::vector<ReasonedDate> timelineReasons(Date now, Date minuteStart, const Loaded& loaded) {
  using Kind = EntryReason::Kind;
  std::vector<std::pair<Date, EntryReason>> kept;
  const Date horizon = now + Provider::window;
  auto keep = [&](Date d, Kind kind, std::size_t index) {
    if (now <= d && d <= horizon) kept.emplace_back(d, EntryReason{.kind = kind, .index = index});
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
      for (std::size_t i = 0; i < f->due->size(); ++i)
        keep((*f->due)[i].due + Entry::dueGrace, Kind::deadlineDropOff, i);
    }
  }
  for (int i = 1; i <= Provider::firstMarks; ++i) {
    keep(minuteStart + i * Provider::minuteStep, Kind::minuteMark, static_cast<std::size_t>(i));
  }
  for (int k = Provider::laterMarksFrom; k <= Provider::laterMarksTo; k += Provider::laterMarksStep) {
    keep(minuteStart + k * Provider::minuteStep, Kind::fiveMinuteMark, static_cast<std::size_t>(k));
  }

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
