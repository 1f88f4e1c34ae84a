#pragma once
/// \file fd_reader.hpp
/// A file descriptor the engine owns and reads on GLib's main loop: the wall-clock timer's timerfd,
/// the feed watch's inotify descriptor. `readable` runs on the loop whenever the descriptor has
/// something to read; the source goes and the descriptor is closed with the object.
///
///     FdReader timer(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC), [&] { onTimer(); });
///     if (!timer.open()) return;  // the descriptor could not be made

#include <glib.h>

#include <functional>

namespace ostrel {

class FdReader {
 public:
  /// Takes `fd` (a negative one: none, and `open()` is false).
  FdReader(int fd, std::function<void()> readable);
  FdReader(const FdReader&) = delete;
  FdReader& operator=(const FdReader&) = delete;
  FdReader(FdReader&&) = delete;
  FdReader& operator=(FdReader&&) = delete;
  ~FdReader();

  [[nodiscard]] bool open() const { return fd_ >= 0; }
  [[nodiscard]] int fd() const { return fd_; }

 private:
  int fd_;
  std::function<void()> readable_;
  guint source_ = 0;
};

}  // namespace ostrel
