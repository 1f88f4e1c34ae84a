#include "host/file_events.hpp"

#include <algorithm>

namespace ostrel {

bool FileEvents::concernsFeed(std::string_view name, std::string_view otherName, std::string_view feedName) {
  return !feedName.empty() && (name == feedName || otherName == feedName);
}

Burst FileEvents::add(std::optional<Burst> burst, double at, bool finishesWrite) {
  if (!burst) return Burst{.first = at, .last = at, .finished = finishesWrite};
  if (at < burst->last) return *burst;  // reported late: the latest event stays the latest
  return Burst{.first = burst->first, .last = at, .finished = finishesWrite};
}

double FileEvents::settlesAt(Burst burst) {
  return std::min(burst.last + (burst.finished ? quietAfterWrite : quiet), burst.first + longest);
}

}  // namespace ostrel
