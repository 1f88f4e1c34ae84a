#pragma once
/// \file line_output.hpp
/// Faces as lines (face_line.hpp) on a descriptor read by a status bar or a script, usually
/// standard output. Writing never blocks the main loop: the lines a slow reader has not taken yet
/// wait in a small queue and go out when the descriptor is writable again. A reader that goes away
/// is noticed on the main loop even when no face changes (the descriptor's hang-up or error), and so
/// is a write that fails: either calls `closed` once with the system's error number (EPIPE: the
/// reader went away) and nothing more is written.
///
///     LineOutput lines{STDOUT_FILENO, LineFormat::waybar, LineOutput::Backlog::latest,
///                      [&](int error) { engine.stop(); }};
///     engine.subscribe(lines);
///
/// Lines go out whole. Everything happens on the thread-default GLib main context of the thread
/// that makes the output; a pipe, FIFO or terminal is written through a descriptor of its own
/// opened non-blocking (a socket is switched to non-blocking and back), so the state of the
/// descriptor shared with other processes is left alone; a regular file is written as it comes.

#include <functional>
#include <memory>

#include "engine/face_line.hpp"
#include "engine/face_output.hpp"

namespace ostrel {

class LineOutput final : public FaceOutput {
 public:
  /// What is kept of the lines the reader has not taken yet.
  enum class Backlog {
    latest,  ///< only each widget's latest line: a status bar wants what is current
    every,   ///< every line (a simulated run's record), up to `kEveryLimit` bytes; beyond it, as `latest`
  };
  static constexpr std::size_t kEveryLimit = std::size_t{16} << 20U;

  LineOutput(int fd, LineFormat format, Backlog backlog, std::function<void(int)> closed);
  ~LineOutput() override;
  LineOutput(const LineOutput&) = delete;
  LineOutput& operator=(const LineOutput&) = delete;
  LineOutput(LineOutput&&) = delete;
  LineOutput& operator=(LineOutput&&) = delete;

  void show(const Face& face) override;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace ostrel
