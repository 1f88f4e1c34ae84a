#include "engine/schedule.hpp"

#include <cmath>

namespace ostrel {

bool Schedule::clockJumped(ClockReading before, ClockReading after) {
  const double wall = after.wall - before.wall;
  const double monotonic = after.monotonic - before.monotonic;
  // A reading that is not a number is no evidence of a jump.
  return std::fabs(wall - monotonic) > jumpTolerance;
}

}  // namespace ostrel
