#include "timeline/provider.hpp"

#include <algorithm>

#include "platform/calendar.hpp"
#include "timeline/sample.hpp"

namespace ostrel {

Entry Provider::placeholder(const TimelineProviderContext& context) const {
  const Date now = context.host.clock.now();
  return Entry{.date = now, .loaded = Loaded::feed(Sample::feed(Clock::fixed(now)))};
}

void Provider::getSnapshot(const TimelineProviderContext& context,
                           const std::function<void(Entry)>& completion) const {
  const Date now = context.host.clock.now();
  Loaded loaded = context.host.load();
  if (context.isPreview && loaded.which() == Loaded::Case::missing) {
    loaded = Loaded::feed(Sample::feed(Clock::fixed(now)));
  }
  completion(Entry{.date = now, .loaded = std::move(loaded)});
}

void Provider::getTimeline(const TimelineProviderContext& context,
                           const std::function<void(Timeline<Entry>)>& completion) const {
  const Date now = context.host.clock.now();
  const Loaded loaded = context.host.load();
  const Date m0 = Calendar::minuteStart(now, context.host.timeZone).value_or(now);
  completion(timeline(now, m0, loaded));
}

std::vector<Date> Provider::timelineDates(Date now, Date minuteStart, const Loaded& loaded) {
  std::vector<Date> dates;
  const Feed* f = loaded.feedValue();
  const std::size_t feedDates =
      f ? 2 * (f->classes ? f->classes->size() : 0) + (f->due ? f->due->size() : 0) : 0;
  dates.reserve(1 + feedDates + firstMarks + (laterMarksTo - laterMarksFrom) / laterMarksStep + 1);

  const Date horizon = now + window;
  auto keep = [&](Date d) {
    if (now <= d && d <= horizon) dates.push_back(d);
  };
  keep(now);
  if (f != nullptr) {
    if (f->classes) {
      for (const ClassItem& c : *f->classes) {
        keep(c.start);
        keep(c.end);
      }
    }
    if (f->due) {
      for (const DueItem& d : *f->due) keep(d.due + Entry::dueGrace);
    }
  }
  for (int i = 1; i <= firstMarks; ++i) keep(minuteStart + i * minuteStep);
  for (int k = laterMarksFrom; k <= laterMarksTo; k += laterMarksStep) keep(minuteStart + k * minuteStep);

  std::sort(dates.begin(), dates.end());
  dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
  return dates;
}

Timeline<Entry> Provider::timeline(Date now, Date minuteStart, const Loaded& loaded) {
  const std::vector<Date> dates = timelineDates(now, minuteStart, loaded);
  Timeline<Entry> t{.entries = {}, .policy = TimelineReloadPolicy::after(now + reload)};
  t.entries.reserve(dates.size());
  for (Date d : dates) t.entries.push_back(Entry{.date = d, .loaded = loaded});
  return t;
}

}  // namespace ostrel
