#include "time/calendar.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ostrel {
namespace {

struct Zone {
  const char* zone;
  double at;  ///< an instant, seconds since 1970
};

class MinuteStart : public testing::TestWithParam<Zone> {};

TEST_P(MinuteStart, IsAMinuteBoundaryAtOrBeforeTheInstant) {
  const Zone& z = GetParam();
  for (double step : {0.0, 0.5, 29.999, 59.75, 61.0, 3'599.5}) {
    const Date d{z.at + step};
    const auto m = Calendar::minuteStart(d, z.zone);
    ASSERT_TRUE(m) << z.zone;
    EXPECT_LE(*m, d);
    EXPECT_LT(d - *m, 60.0);
    EXPECT_EQ(std::fmod(m->sinceEpoch, 60.0), 0.0) << z.zone << " " << d.sinceEpoch;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Zones, MinuteStart,
    testing::Values(Zone{"UTC", 1'772'445'630}, Zone{"Asia/Kolkata", 1'772'445'630},
                    // Sydney leaves daylight time at 03:00 on 5 April 2026 (16:00Z on the 4th): the hour
                    // from 02:00 happens twice; both passes must give the minute that holds the instant.
                    Zone{"Australia/Sydney", 1'775'313'000}, Zone{"Australia/Sydney", 1'775'316'600},
                    Zone{"Asia/Kathmandu", 1'772'445'630}, Zone{"America/St_Johns", 1'772'445'630}));

TEST(Calendar, NoMinuteForInstantsOutOfRangeAndUtcMinutesForZonesThatNameNothing) {
  EXPECT_EQ(Calendar::minuteStart(Date{90.5}, "Mars/Base"), Date{60});
  EXPECT_FALSE(Calendar::minuteStart(Date{std::numeric_limits<double>::infinity()}, "UTC"));
  EXPECT_FALSE(Calendar::minuteStart(Date{std::numeric_limits<double>::quiet_NaN()}, "UTC"));
  EXPECT_FALSE(Calendar::minuteStart(Date{1e300}, "UTC"));
  EXPECT_TRUE(Calendar::isKnownTimeZone("Australia/Sydney"));
  EXPECT_FALSE(Calendar::isKnownTimeZone("Not/AZone"));
}

TEST(Calendar, MinuteStartIsTheLocalMinuteInAHalfHourZone) {
  // 2026-03-02T10:00:30Z is 15:30:30 in Kolkata (+05:30): the minute began at 10:00:00Z.
  EXPECT_EQ(Calendar::minuteStart(Date{1'772'445'630.25}, "Asia/Kolkata"), Date{1'772'445'600});
}

}  // namespace
}  // namespace ostrel
