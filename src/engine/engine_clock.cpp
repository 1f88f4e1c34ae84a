#include "engine/engine_clock.hpp"

#include <glib.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>

#include "engine/fd_reader.hpp"
#include "time/clock.hpp"

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

struct WallTimer::State {
  std::function<void(bool)> fired;
  FdReader timer{::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC), [this] { readable(); }};

  /// The timer is readable: it expired, or the clock was set (the read fails with ECANCELED).
  void readable() {
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(timer.fd(), &expirations, sizeof expirations);
    if (n < 0 && errno == ECANCELED) {
      fired(true);
    } else if (n == static_cast<ssize_t>(sizeof expirations) && expirations > 0) {
      fired(false);
    }
  }
};

WallTimer::WallTimer(std::function<void(bool clockSet)> fired) : state_(std::make_unique<State>()) {
  state_->fired = std::move(fired);
}

WallTimer::~WallTimer() = default;

bool WallTimer::arm(Date at) {
  State& s = *state_;
  if (!s.timer.open() || !std::isfinite(at.sinceEpoch)) return false;
  // Never before the instant (rounded up to the nanosecond), and never the zero that disarms.
  double whole = std::floor(at.sinceEpoch);
  double nanos = std::ceil((at.sinceEpoch - whole) * 1e9);
  if (nanos >= 1e9) {
    whole += 1;
    nanos = 0;
  }
  if (whole < 0 || (whole == 0 && nanos == 0)) {
    whole = 0;
    nanos = 1;
  }
  itimerspec due{};
  due.it_value.tv_sec = static_cast<time_t>(whole);
  due.it_value.tv_nsec = static_cast<long>(nanos);
  return ::timerfd_settime(s.timer.fd(), TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &due, nullptr) == 0;
}

void WallTimer::disarm() {
  State& s = *state_;
  if (!s.timer.open()) return;
  const itimerspec none{};
  ::timerfd_settime(s.timer.fd(), TFD_TIMER_ABSTIME, &none, nullptr);
}

}  // namespace ostrel
