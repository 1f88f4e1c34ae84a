#include "engine/file_events.hpp"

#include <sys/inotify.h>

#include <algorithm>

namespace ostrel {

namespace {

/// The nearest existing folder on the way to `path`, and the name in it that leads on.
std::pair<std::filesystem::path, std::filesystem::path> nearestOnTheWay(
    const std::filesystem::path& path, const std::function<bool(const std::filesystem::path&)>& isFolder) {
  std::filesystem::path nearest = path.parent_path();
  std::filesystem::path next = path.filename();
  // Up the path until a folder exists; the root always counts as one.
  while (nearest.has_relative_path() && !isFolder(nearest)) {
    next = nearest.filename();
    nearest = nearest.parent_path();
  }
  return {nearest, next};
}

}  // namespace

std::vector<WatchedFolder> FileEvents::plan(const std::filesystem::path& feed,
                                            const std::function<bool(const std::filesystem::path&)>& isFolder,
                                            const LinkOf& linkOf) {
  const std::filesystem::path own = feed.parent_path();
  const auto [nearest, next] = nearestOnTheWay(feed, isFolder);
  std::vector<WatchedFolder> out;
  out.push_back(WatchedFolder{.folder = nearest,
                              .role = nearest == own ? FolderRole::feed : FolderRole::awaited,
                              .name = next.string()});
  for (std::filesystem::path below = nearest; below.has_relative_path(); below = below.parent_path()) {
    out.push_back(WatchedFolder{
        .folder = below.parent_path(), .role = FolderRole::above, .name = below.filename().string()});
  }
  const std::optional<std::filesystem::path> link = linkOf ? linkOf(nearest / next) : std::nullopt;
  if (!link || !link->has_filename()) return out;
  if (nearest == own) {
    // The feed is a link: where it leads, once that folder is there.
    if (isFolder(link->parent_path())) {
      out.push_back(WatchedFolder{
          .folder = link->parent_path(), .role = FolderRole::target, .name = link->filename().string()});
    }
  } else {
    // A link to a folder that is not there (yet): the way to where it leads.
    const auto [linkNearest, linkNext] = nearestOnTheWay(*link / "", isFolder);
    out.push_back(
        WatchedFolder{.folder = linkNearest, .role = FolderRole::awaited, .name = linkNext.string()});
  }
  return out;
}

std::uint32_t FileEvents::eventsFor(FolderRole role) {
  constexpr std::uint32_t entries =
      IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
  const bool file = role == FolderRole::feed || role == FolderRole::target;
  return file ? entries | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB : entries;
}

FileEvent FileEvents::meaning(const WatchedFolder& watched, std::uint32_t mask, std::string_view name) {
  constexpr std::uint32_t known = IN_ALL_EVENTS | IN_UNMOUNT | IN_IGNORED | IN_ISDIR;
  if ((mask & IN_Q_OVERFLOW) != 0 || (mask & known) == 0 || (mask & ~known) != 0) return FileEvent::lost;
  // The watched folder itself deleted, moved or unmounted, or its watch dropped.
  if ((mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED)) != 0) return FileEvent::moved;
  if (name.empty() || name != watched.name) return FileEvent::none;
  constexpr std::uint32_t appearsOrGoes = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
  if (watched.role == FolderRole::awaited || watched.role == FolderRole::above) {
    return (mask & appearsOrGoes) != 0 ? FileEvent::moved : FileEvent::none;
  }
  if ((mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) != 0) return FileEvent::written;
  if ((mask & IN_MODIFY) != 0) return FileEvent::writing;
  if ((mask & (appearsOrGoes | IN_ATTRIB)) != 0) return FileEvent::touched;
  return FileEvent::none;
}

Burst FileEvents::add(std::optional<Burst> burst, double at, FileEvent event) {
  const bool finishes = event == FileEvent::written;
  // Data written opens the write; closing it or a file renamed over it ends it.
  const auto open = [&](bool before) { return event == FileEvent::writing || (before && !finishes); };
  if (!burst) return Burst{.first = at, .last = at, .finished = finishes, .open = open(false)};
  if (at < burst->last) return *burst;  // reported late: the latest event stays the latest
  return Burst{.first = burst->first, .last = at, .finished = finishes, .open = open(burst->open)};
}

double FileEvents::settlesAt(Burst burst) {
  if (burst.finished) return std::min(burst.last + quietAfterWrite, burst.first + longestOpen);
  if (burst.open) return burst.first + longestOpen;
  return std::min(burst.last + quiet, burst.first + longest);
}

}  // namespace ostrel
