#pragma once
/// \file host.hpp
/// What the widget host hands the provider with every request. The host (the `ostrel-widgets`
/// command) owns the clock, the feed location and the time zone; it lends them to the provider
/// through the context of every request. What it takes back is a `Timeline` (timeline.hpp).
///
///     TimelineProviderContext context{.isPreview = false, .host = Host{.clock = Clock::fixed(now)}};
///     Provider{}.getTimeline(context, [](Timeline<Entry> t) { show(t); });

#include <filesystem>
#include <string>

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

}  // namespace ostrel
