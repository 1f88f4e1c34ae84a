#pragma once
/// \file line_output.hpp
/// Faces as lines on a stream (face_line.hpp), each flushed at once, for a status bar reading the
/// engine's standard output. When the stream fails, it calls `closed` once with the system's error
/// number (EPIPE: the reader went away; 0 when the system gave none) and writes nothing more.
///
///     LineOutput lines{std::cout, LineFormat::waybar, [&](int error) { engine.stop(); }};
///     engine.subscribe(lines);

#include <functional>
#include <ostream>

#include "host/face_line.hpp"
#include "host/face_output.hpp"

namespace ostrel {

class LineOutput final : public FaceOutput {
 public:
  LineOutput(std::ostream& out, LineFormat format, std::function<void(int)> closed)
      : out_(out), format_(format), closed_(std::move(closed)) {}

  void show(const Face& face) override;

 private:
  std::ostream& out_;
  LineFormat format_;
  std::function<void(int)> closed_;
  bool failed_ = false;
};

}  // namespace ostrel
