#pragma once
/// \file clock_set.hpp
/// Makes the kernel report a set of the wall clock without moving it: the clock is stepped one
/// nanosecond forward and at once one back, two sets that reach every timer that asked to be told
/// of one, and leave the time as it was. Needs CAP_SYS_TIME; false without it.
#include <sys/timex.h>

#include <ctime>

namespace ostrel::test_support {

inline bool setClockWithoutMovingIt() {
  timex forward{};
  forward.modes = ADJ_SETOFFSET | ADJ_NANO;
  forward.time.tv_usec = 1;  // nanoseconds, with ADJ_NANO
  if (::clock_adjtime(CLOCK_REALTIME, &forward) < 0) return false;
  timex back = forward;
  back.time.tv_sec = -1;
  back.time.tv_usec = 999'999'999;
  return ::clock_adjtime(CLOCK_REALTIME, &back) >= 0;
}

}  // namespace ostrel::test_support
