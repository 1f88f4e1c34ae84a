// The wall-clock timer against the real kernel timer: on time, and at once when the clock is set.
#include "engine/engine_clock.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <optional>

#include "support/clock_set.hpp"
#include "time/clock.hpp"

namespace ostrel {
namespace {

/// Runs the main loop until `fired` holds a value or `seconds` pass; the seconds it took.
double waitFor(const std::optional<bool>& fired, double seconds) {
  const double start = monotonicSeconds();
  while (!fired && monotonicSeconds() - start < seconds) g_main_context_iteration(nullptr, FALSE);
  return monotonicSeconds() - start;
}

TEST(WallTimer, FiresAtItsInstantAndAtOnceWhenTheClockIsSet) {
  std::optional<bool> fired;
  WallTimer timer{[&](bool clockSet) { fired = clockSet; }};
  // A set of the clock is the whole system's: another test setting it meanwhile fires this timer
  // as a set, which is told apart from the instant; the timer is then armed again.
  double took = 0;
  for (int attempt = 0; attempt < 5 && fired != false; ++attempt) {
    fired.reset();
    ASSERT_TRUE(timer.arm(Clock::system().now() + 0.3));
    took = waitFor(fired, 5);
  }
  EXPECT_EQ(fired, false);
  EXPECT_GE(took, 0.25);
  EXPECT_LT(took, 1.5);

  fired.reset();
  ASSERT_TRUE(timer.arm(Clock::system().now() + 3600));
  if (!test_support::setClockWithoutMovingIt())
    GTEST_SKIP() << "no CAP_SYS_TIME to signal a set of the clock";
  EXPECT_LT(waitFor(fired, 5), 1.0);
  EXPECT_EQ(fired, true);
}

}  // namespace
}  // namespace ostrel
