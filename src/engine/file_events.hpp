#pragma once
/// \file file_events.hpp
/// Which folders to watch for the feed, what an event in them means, and how a burst of events
/// becomes one request.
///
/// The feed is followed whatever part of its path exists: the nearest existing folder on the way
/// is watched until the next folder appears in it (then that one is watched), and each folder above
/// tells when the one below it on the way vanishes, moves or is replaced (then the plan is made
/// again). Symbolic links to folders are followed like folders.
///
/// An app that rewrites the feed produces several events at once (created, changed a few times,
/// closed, or a temporary file renamed over it); the engine asks for one new timeline per burst,
/// once the burst has been quiet for a moment, and never later than a second after it began. The
/// moment is short when the latest event finishes a write (the feed renamed into place, or closed
/// after writing): the file is whole then. A write in place that has not been closed yet is waited
/// for, however slow, up to `longestOpen`: a half-written feed is never taken for the final one.
///
///     for (const WatchedFolder& w : FileEvents::plan(feed, isFolder)) watch(w.folder);
///     on event (mask, name) in w:  FileEvent e = FileEvents::meaning(w, mask, name);
///                                  if (e == FileEvent::moved) plan again;
///                                  if (e != FileEvent::none) burst = FileEvents::add(burst, t, e);
///     on timer at t:  if (burst && FileEvents::settled(*burst, t)) { burst.reset(); request(); }
///                     else wait until FileEvents::settlesAt(*burst);

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

/// What a watched folder is to the feed, and the one name in it that matters.
enum class FolderRole {
  feed,     ///< the feed's own folder; `name` is the feed's file name
  target,   ///< the folder of the file the feed links to; `name` is that file's name
  awaited,  ///< the nearest existing folder on the way; `name` is the next folder of the path
  above,    ///< the folder that holds the watched one; `name` is the watched folder's name
};

struct WatchedFolder {
  std::filesystem::path folder;
  FolderRole role = FolderRole::feed;
  std::string name;
  friend bool operator==(const WatchedFolder&, const WatchedFolder&) = default;
};

/// What one event means to the feed.
enum class FileEvent {
  none,     ///< nothing that concerns the feed
  touched,  ///< the feed created, deleted, renamed away or its mode changed
  writing,  ///< data written to the feed, which is still open: the write is not over yet
  written,  ///< the feed closed after writing, or renamed into place: whole from now on
  moved,    ///< a folder on the way appeared, vanished or moved: plan again, then reload
  lost,     ///< events were lost (the queue overflowed) or are not understood: plan again, then reload
};

/// Events that came close together: when the first and the latest came, in monotonic seconds,
/// whether the latest finished a write, and whether data was written that is not closed yet.
struct Burst {
  double first = 0;
  double last = 0;
  bool finished = false;
  bool open = false;
  friend constexpr bool operator==(const Burst&, const Burst&) = default;
};

struct FileEvents {
  /// A burst ends once no event has come for this long (seconds) ...
  static constexpr double quiet = 0.25;
  /// ... or for this long after an event that finished a write.
  static constexpr double quietAfterWrite = 0.04;
  /// ... or this long after it began, however many events keep coming ...
  static constexpr double longest = 1.0;
  /// ... but while the feed is written in place and not closed, only this long after it began.
  static constexpr double longestOpen = 10.0;

  /// The events to ask of a folder in `role` (an inotify mask): entries that appear or go, and in the
  /// feed's folder also writes and changes of mode.
  [[nodiscard]] static std::uint32_t eventsFor(FolderRole role);

  /// Where a path leads when it is a symbolic link (absolute, the chain of links followed), else none.
  using LinkOf = std::function<std::optional<std::filesystem::path>(const std::filesystem::path&)>;

  /// The folders to watch for the feed at the absolute path `feed`, given which paths are folders
  /// now (`isFolder`, following links) and which are links (`linkOf`; none: no links): the nearest
  /// existing folder on the way (the feed's own folder when it exists) and every folder above it up
  /// to the root; then, when the feed is a link, the folder where it leads, or when the entry awaited
  /// on the way is a link to a folder not there, the nearest existing folder on the way to that.
  [[nodiscard]] static std::vector<WatchedFolder> plan(
      const std::filesystem::path& feed, const std::function<bool(const std::filesystem::path&)>& isFolder,
      const LinkOf& linkOf = {});
  /// What the event `mask` (inotify bits) about the entry `name` (empty: the folder itself) in the
  /// watched folder `watched` means. A lost queue concerns every folder.
  [[nodiscard]] static FileEvent meaning(const WatchedFolder& watched, std::uint32_t mask,
                                         std::string_view name);

  /// The burst after an event `event` (not `none`) at `at`: a new one, or `burst` lengthened.
  [[nodiscard]] static Burst add(std::optional<Burst> burst, double at, FileEvent event);
  /// When `burst` is over, if no further event comes.
  [[nodiscard]] static double settlesAt(Burst burst);
  /// Whether `burst` is over at `now`.
  [[nodiscard]] static bool settled(Burst burst, double now) { return !(now < settlesAt(burst)); }
};

}  // namespace ostrel
