#pragma once
/// \file feed_watch.hpp
/// Watches the feed document: a file monitor on its folder sees the file created, replaced (a file
/// renamed over it), rewritten in place or deleted, and a burst of such events becomes one call of
/// `changed` once it has settled (file_events.hpp).
///
///     FeedWatch watch{"/home/u/.../widgets/widget.json", [&] { requestTimelines(); }};
///
/// The folder itself may be missing: the monitor then waits for it to appear. Runs on the
/// thread-default main context of the thread that creates it.

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

  /// Whether the folder could be watched (false: only the reload policy will pick up changes).
  [[nodiscard]] bool watching() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace ostrel
