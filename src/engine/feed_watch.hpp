#pragma once
/// \file feed_watch.hpp
/// Watches the feed document: the kernel's file events (inotify) on its folder tell when the file
/// is created, replaced (a file renamed over it), rewritten in place or deleted, and a burst of such
/// events becomes one call of `changed` once it has settled (file_events.hpp).
///
///     FeedWatch watch{"/home/u/.../widgets/widget.json", [&] { requestTimelines(); }};
///
/// Any part of the path may be missing: the nearest existing folder on the way is watched, the
/// watch moves down as folders appear and up as they vanish or move away, and every such change is
/// followed by a call of `changed`. A feed that is a symbolic link is also watched where the link
/// leads, and followed when the link changes. Runs on the thread-default main context of the thread that
/// creates it.

#include <filesystem>
#include <functional>
#include <memory>

namespace ostrel {

class FeedWatch {
 public:
  FeedWatch(const std::filesystem::path& feed, std::function<void()> changed);
  ~FeedWatch();
  FeedWatch(const FeedWatch&) = delete;
  FeedWatch& operator=(const FeedWatch&) = delete;
  FeedWatch(FeedWatch&&) = delete;
  FeedWatch& operator=(FeedWatch&&) = delete;

  /// Whether some folder on the way is watched (false: only the reload policy picks up changes).
  [[nodiscard]] bool watching() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace ostrel
