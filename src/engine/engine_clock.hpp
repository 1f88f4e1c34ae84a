#pragma once
/// \file engine_clock.hpp
/// `EngineClock`: where the engine's "now" comes from, and how long it waits in real time to reach
/// an instant. The system clock for real use; a simulated clock for tests and demonstrations that
/// starts at a chosen instant and runs a number of times faster than real time, or at the fastest
/// speed, where it jumps to each instant the engine waits for without waiting at all.
///
///     EngineClock c = EngineClock::simulated(start, 60);   // a minute per second
///     Date now = c.now();
///     double wait = c.delayUntil(now + 600);               // 10 s of real time
///
///     EngineClock fast = EngineClock::fastest(start);
///     fast.arrive(start + 600);                            // now() is start + 600 from here on

#include <functional>
#include <memory>

#include "engine/schedule.hpp"
#include "time/date.hpp"

namespace ostrel {

class EngineClock {
 public:
  /// The machine's wall clock.
  [[nodiscard]] static EngineClock system();
  /// A clock that reads `start` now and runs `speed` times faster than real time (`speed` > 0;
  /// anything else counts as 1).
  [[nodiscard]] static EngineClock simulated(Date start, double speed);
  /// A clock that reads `start` and moves only when the engine arrives at the instant it waited for.
  [[nodiscard]] static EngineClock fastest(Date start);

  /// The current instant.
  [[nodiscard]] Date now() const;
  /// The wall clock and the monotonic clock read together (the simulated clocks never jump).
  [[nodiscard]] ClockReading read() const;
  /// Real seconds until `now()` reaches `date`: 0 when it has, and always 0 for the fastest clock.
  [[nodiscard]] double delayUntil(Date date) const;
  /// The engine woke for `date`: the fastest clock moves there (never backwards); others are unmoved.
  void arrive(Date date);

  /// Whether this is the machine's wall clock, whose jumps the engine looks out for.
  [[nodiscard]] bool isSystem() const { return kind_ == Kind::system; }
  /// Whether the clock jumps from wake to wake instead of running.
  [[nodiscard]] bool isFastest() const { return kind_ == Kind::fastest; }

 private:
  enum class Kind { system, simulated, fastest };
  EngineClock(Kind kind, Date start, double speed, double origin)
      : kind_(kind), start_(start), speed_(speed), origin_(origin) {}

  Kind kind_;
  Date start_;         ///< simulated and fastest: the instant at `origin_` (fastest: now)
  double speed_ = 1;   ///< simulated: clock seconds per real second
  double origin_ = 0;  ///< simulated: the monotonic reading at `start_`
};

/// A one-shot timer on the machine's wall clock: it fires when the wall clock reaches the instant it
/// is armed for (on time across a suspend of the machine, unlike a timeout measured on the monotonic
/// clock), and at once, with `clockSet`, when the wall clock is set or jumps.
///
///     WallTimer timer{[&](bool clockSet) { if (clockSet) reload(); wake(); }};
///     if (!timer.arm(next)) fallBackOnATimeout();
///
/// Runs on the thread-default main context of the thread that creates it; `fired` is called there.
class WallTimer {
 public:
  explicit WallTimer(std::function<void(bool clockSet)> fired);
  ~WallTimer();
  WallTimer(const WallTimer&) = delete;
  WallTimer& operator=(const WallTimer&) = delete;
  WallTimer(WallTimer&&) = delete;
  WallTimer& operator=(WallTimer&&) = delete;

  /// Arms the timer for `at`, replacing any earlier instant (an instant passed fires at once).
  /// False when the system offers no such timer or refuses the instant.
  [[nodiscard]] bool arm(Date at);
  /// Fires no more until armed again.
  void disarm();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

/// Seconds on the monotonic clock (it never jumps and stands still while the machine sleeps).
[[nodiscard]] double monotonicSeconds();

}  // namespace ostrel
