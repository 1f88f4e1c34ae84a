#pragma once
/// \file clock.hpp
/// `Clock`: the host's source of "now". Either the system clock or an instant pinned by the host
/// (the command line's `--now`). Library code reads time only through a `Clock` it is given.

#include <optional>

#include "time/date.hpp"

namespace ostrel {

class Clock {
 public:
  /// The real clock of the machine.
  [[nodiscard]] static Clock system() { return Clock{}; }
  /// A clock that always answers `at`.
  [[nodiscard]] static Clock fixed(Date at) { return Clock{at}; }

  /// The current instant (the pinned one, if any).
  [[nodiscard]] Date now() const;

 private:
  Clock() = default;
  explicit Clock(Date at) : pinned_(at) {}
  std::optional<Date> pinned_;
};

}  // namespace ostrel
