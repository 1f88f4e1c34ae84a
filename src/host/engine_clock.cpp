#include "host/engine_clock.hpp"

#include <glib.h>

#include <algorithm>
#include <cmath>

#include "platform/clock.hpp"

namespace ostrel {

double monotonicSeconds() {
  return static_cast<double>(g_get_monotonic_time()) / 1e6;
}

EngineClock EngineClock::system() {
  return EngineClock{Kind::system, Date{}, 1, 0};
}

EngineClock EngineClock::simulated(Date start, double speed) {
  const double s = std::isfinite(speed) && speed > 0 ? speed : 1;
  return EngineClock{Kind::simulated, start, s, monotonicSeconds()};
}

EngineClock EngineClock::fastest(Date start) {
  return EngineClock{Kind::fastest, start, 1, 0};
}

Date EngineClock::now() const {
  switch (kind_) {
    case Kind::system:
      return Clock::system().now();
    case Kind::simulated:
      return start_ + (monotonicSeconds() - origin_) * speed_;
    case Kind::fastest:
      return start_;
  }
  return start_;
}

ClockReading EngineClock::read() const {
  const double monotonic = monotonicSeconds();
  if (kind_ == Kind::system) return ClockReading{.wall = Clock::system().now(), .monotonic = monotonic};
  // A simulated clock is a function of the monotonic one: it cannot jump.
  return ClockReading{.wall = Date{monotonic}, .monotonic = monotonic};
}

double EngineClock::delayUntil(Date date) const {
  if (kind_ == Kind::fastest) return 0;
  const double left = (date - now()) / speed_;
  return std::isfinite(left) ? std::max(0.0, left) : 0;
}

void EngineClock::arrive(Date date) {
  if (kind_ == Kind::fastest && start_ < date) start_ = date;
}

}  // namespace ostrel
