#include "host/file_events.hpp"

#include <algorithm>

namespace ostrel {

bool FileEvents::concernsFeed(std::string_view name, std::string_view otherName, std::string_view feedName) {
  return !feedName.empty() && (name == feedName || otherName == feedName);
}

Burst FileEvents::add(std::optional<Burst> burst, double at) {
  if (!burst) return Burst{.first = at, .last = at};
  return Burst{.first = burst->first, .last = std::max(burst->last, at)};
}

double FileEvents::settlesAt(Burst burst) {
  return std::min(burst.last + quiet, burst.first + longest);
}

}  // namespace ostrel
