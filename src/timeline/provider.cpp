#include "timeline/provider.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "time/calendar.hpp"
#include "timeline/entry_reason.hpp"
#include "timeline/sample.hpp"

namespace ostrel {
namespace {

// Sorting dates: a timeline of a large feed has thousands of candidates in a fresh order on every
// request, where a comparison sort spends most of its time on mispredicted branches. Above a few
// hundred candidates the dates are sorted by their bits instead: each (never NaN) double maps to an
// unsigned key of the same order, sorted by bytes, least significant first, skipping the bytes all
// keys share (the high ones, for dates within one day).

constexpr std::uint64_t kSign = std::uint64_t{1} << 63;

std::uint64_t keyOf(Date d) {
  const auto u = std::bit_cast<std::uint64_t>(d.sinceEpoch);
  return (u & kSign) != 0 ? ~u : u | kSign;
}

Date dateOf(std::uint64_t key) {
  return Date{std::bit_cast<double>((key & kSign) != 0 ? key & ~kSign : ~key)};
}

void sortDates(std::vector<Date>& dates) {
  const std::size_t n = dates.size();
  if (n < 512) {
    std::sort(dates.begin(), dates.end());
    return;
  }
  std::vector<std::uint64_t> keys(n);
  std::vector<std::uint64_t> spare(n);
  std::array<std::array<std::size_t, 256>, 8> counts{};
  for (std::size_t i = 0; i < n; ++i) {
    keys[i] = keyOf(dates[i]);
    for (std::size_t b = 0; b < 8; ++b) ++counts[b][(keys[i] >> (8 * b)) & 0xff];
  }
  for (std::size_t b = 0; b < 8; ++b) {
    std::array<std::size_t, 256>& count = counts[b];
    if (count[(keys[0] >> (8 * b)) & 0xff] == n) continue;  // every key has this byte
    std::size_t at = 0;
    for (std::size_t& c : count) at += std::exchange(c, at);
    for (const std::uint64_t k : keys) spare[count[(k >> (8 * b)) & 0xff]++] = k;
    keys.swap(spare);
  }
  for (std::size_t i = 0; i < n; ++i) dates[i] = dateOf(keys[i]);
}

}  // namespace

Entry Provider::placeholder(const TimelineProviderContext& context) const {
  const Date now = context.services.clock.now();
  return Entry{.date = now, .loaded = Loaded::feed(Sample::feed(Clock::fixed(now)))};
}

void Provider::getSnapshot(const TimelineProviderContext& context,
                           const std::function<void(Entry)>& completion) const {
  const Date now = context.services.clock.now();
  Loaded loaded = context.services.load();
  if (context.isPreview && loaded.which() == Loaded::Case::missing) {
    loaded = Loaded::feed(Sample::feed(Clock::fixed(now)));
  }
  completion(Entry{.date = now, .loaded = std::move(loaded)});
}

void Provider::getTimeline(const TimelineProviderContext& context,
                           const std::function<void(Timeline<Entry>)>& completion) const {
  const Date now = context.services.clock.now();
  const Loaded loaded = context.services.load();
  const Date m0 = Calendar::minuteStart(now, context.services.timeZone).value_or(now);
  completion(timeline(now, m0, loaded));
}

std::vector<Date> Provider::timelineDates(Date now, Date minuteStart, const Loaded& loaded) {
  std::vector<Date> dates;
  const Feed* f = loaded.feedValue();
  const std::size_t feedDates =
      f ? 2 * (f->classes ? f->classes->size() : 0) + (f->due ? f->due->size() : 0) : 0;
  dates.reserve(1 + feedDates + firstMarks + (laterMarksTo - laterMarksFrom) / laterMarksStep + 1);

  forEachCandidate(now, minuteStart, loaded, [&dates](Date d, EntryReason /*why*/) { dates.push_back(d); });

  sortDates(dates);
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
