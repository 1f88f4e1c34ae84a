#pragma once
/// \file services.hpp
/// What the widget host hands the provider with every request. The host (the `ostrel-widgets`
/// command) owns the clock, the feed location and the time zone; it lends them to the provider
/// through the context of every request. What it takes back is a `Timeline` (timeline.hpp).
///
///     TimelineProviderContext context{.isPreview = false, .services = Services{.clock = Clock::fixed(now)}};
///     Provider{}.getTimeline(context, [](Timeline<Entry> t) { show(t); });

#include <filesystem>
#include <string>

#include "feed/feed_file.hpp"
#include "time/clock.hpp"
#include "time/date.hpp"
#include "time/time_zone.hpp"

namespace ostrel {

/// The host's services for one request: its clock, where it keeps the feed, and the user's time zone.
struct Services {
  Clock clock = Clock::system();
  std::filesystem::path feed = FeedFile::url();
  TimeZone timeZone = TimeZone::local();

  /// Loads the feed document from `feed`.
  [[nodiscard]] Loaded load() const { return FeedFile::load(feed); }
};

/// What the host passes with each provider request.
struct TimelineProviderContext {
  bool isPreview = false;  ///< the request is for the widget gallery's preview
  Services services{};
};

}  // namespace ostrel
