// Makes the kernel report a set of the wall clock without moving it (support/clock_set.hpp), for
// scripts that check how a running program follows a set. Status 1 without CAP_SYS_TIME.
#include "support/clock_set.hpp"

int main() {
  return ostrel::test_support::setClockWithoutMovingIt() ? 0 : 1;
}
