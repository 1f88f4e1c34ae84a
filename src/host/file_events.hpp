#pragma once
/// \file file_events.hpp
/// Which file events concern the feed, and how a burst of them becomes one request. An app that
/// rewrites the feed produces several events at once (created, changed a few times, changes done,
/// or a temporary file renamed over it); the engine asks for one new timeline per burst, once the
/// burst has been quiet for a moment, and never later than a second after it began. The moment is
/// short when the latest event finishes a write (the feed renamed into place, or closed after
/// writing): the file is whole then, and only events of the same write can still follow.
///
///     std::optional<Burst> burst;
///     on event at t:  if (FileEvents::concernsFeed(name, other, "widget.json")) burst =
///     FileEvents::add(burst, t); on timer at t:  if (burst && FileEvents::settled(*burst, t)) {
///     burst.reset(); request(); }
///                     else wait until FileEvents::settlesAt(*burst);

#include <optional>
#include <string_view>

namespace ostrel {

/// Events that came close together: when the first and the latest came, in monotonic seconds, and
/// whether the latest finished a write.
struct Burst {
  double first = 0;
  double last = 0;
  bool finished = false;
  friend constexpr bool operator==(const Burst&, const Burst&) = default;
};

struct FileEvents {
  /// A burst ends once no event has come for this long (seconds) ...
  static constexpr double quiet = 0.25;
  /// ... or for this long after an event that finished a write.
  static constexpr double quietAfterWrite = 0.04;
  /// ... or this long after it began, however many events keep coming.
  static constexpr double longest = 1.0;

  /// Whether an event about the file named `name` (for a rename, also `otherName`, the name it was
  /// renamed to or from; empty when there is none) in the feed's folder concerns the feed `feedName`.
  [[nodiscard]] static bool concernsFeed(std::string_view name, std::string_view otherName,
                                         std::string_view feedName);
  /// The burst after an event at `at` (`finishesWrite`: the feed renamed into place or closed after
  /// writing): a new one, or `burst` lengthened.
  [[nodiscard]] static Burst add(std::optional<Burst> burst, double at, bool finishesWrite = false);
  /// When `burst` is over, if no further event comes.
  [[nodiscard]] static double settlesAt(Burst burst);
  /// Whether `burst` is over at `now`.
  [[nodiscard]] static bool settled(Burst burst, double now) { return !(now < settlesAt(burst)); }
};

}  // namespace ostrel
