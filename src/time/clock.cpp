#include "time/clock.hpp"

#include <chrono>

namespace ostrel {

Date Clock::now() const {
  if (pinned_) return *pinned_;
  using namespace std::chrono;
  const auto since = duration_cast<duration<double>>(system_clock::now().time_since_epoch());
  return Date{since.count()};
}

}  // namespace ostrel
