#pragma once
/// \file host.hpp
/// The widget host's side of the timeline protocol: what the host hands the provider and what it
/// takes back. The host (the `ostrel-widgets` command) owns the clock, the feed location and the
/// time zone; it lends them to the provider through the context of every request.
///
///     TimelineProviderContext context{.isPreview = false, .host = Host{.clock = Clock::fixed(now)}};
///     Provider{}.getTimeline(context, [](Timeline<Entry> t) { show(t); });

#include <concepts>
#include <filesystem>
#include <string>
#include <vector>

#include "feed/feed_file.hpp"
#include "platform/calendar.hpp"
#include "platform/clock.hpp"
#include "platform/date.hpp"

namespace ostrel {

/// The host's services for one request: its clock, where it keeps the feed, and the user's time zone.
struct Host {
  Clock clock = Clock::system();
  std::filesystem::path feed = FeedFile::url();
  std::string timeZone = Calendar::defaultTimeZone();

  /// Loads the feed document from `feed`.
  [[nodiscard]] Loaded load() const { return FeedFile::load(feed); }
};

/// What the host passes with each provider request.
struct TimelineProviderContext {
  bool isPreview = false;  ///< the request is for the widget gallery's preview
  Host host{};
};

/// A value the host can show from its `date` on.
template <class E>
concept TimelineEntry = requires(const E& e) {
  { e.date } -> std::convertible_to<Date>;
};

/// When the host is to ask for a new timeline.
struct TimelineReloadPolicy {
  Date at;  ///< ask again at or after this instant
  [[nodiscard]] static constexpr TimelineReloadPolicy after(Date date) { return TimelineReloadPolicy{date}; }
  friend constexpr bool operator==(const TimelineReloadPolicy&, const TimelineReloadPolicy&) = default;
};

/// Entries in ascending order of `date`, and when to ask again.
template <TimelineEntry E>
struct Timeline {
  std::vector<E> entries;
  TimelineReloadPolicy policy;
  friend bool operator==(const Timeline&, const Timeline&) = default;
};

}  // namespace ostrel
