#include "time/date_format.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

#define NB "\u202F"  // ICU's English data puts a narrow no-break space before AM/PM

const Date monday{1'772'445'600.0 + 5 * 60};  // 2026-03-02T10:05:00Z

TEST(DateFormat, WeekdayAndTimeInTheLocalesOrderAndClock) {
  struct Case {
    const char* locale;
    const char* zone;
    const char* weekdayTime;
    const char* time;
  };
  const Case table[] = {
      {"en_US", "UTC", "Mon 10:05" NB "AM", "10:05" NB "AM"},
      {"en_US", "America/New_York", "Mon 5:05" NB "AM", "5:05" NB "AM"},
      {"en_GB", "Europe/London", "Mon 10:05", "10:05"},
      {"en_GB", "Asia/Kolkata", "Mon 15:35", "15:35"},
      {"de_DE", "Europe/Berlin", "Mo., 11:05", "11:05"},
      {"de_DE", "Pacific/Honolulu", "Mo., 00:05", "00:05"},
      {"de-DE", "Europe/Berlin", "Mo., 11:05", "11:05"},
      {"de_DE.UTF-8", "Europe/Berlin", "Mo., 11:05", "11:05"},
  };
  for (const auto& [locale, zone, weekdayTime, time] : table) {
    EXPECT_EQ(DateFormat::weekdayTime(monday, locale, zone), weekdayTime) << locale << " " << zone;
    EXPECT_EQ(DateFormat::time(monday, locale, zone), time) << locale << " " << zone;
  }
}

TEST(DateFormat, UnknownZonesAreUtcAndUnknownLocalesStillFormat) {
  EXPECT_EQ(DateFormat::time(monday, "en_GB", "Mars/Olympus_Mons"), "10:05");
  EXPECT_EQ(DateFormat::time(monday, "en_GB", ""), "10:05");
  EXPECT_EQ(DateFormat::weekdayTime(monday, "zz_QQ", "UTC"), "Mon 10:05");
  EXPECT_FALSE(DateFormat::weekdayTime(monday, "not a locale at all!", "UTC").empty());
}

TEST(DateFormat, InstantsOutsideTheYearsOneToNineThousandNineHundredNinetyNineAreClamped) {
  const double inf = std::numeric_limits<double>::infinity();
  const char* first = "Mon 00:00";  // 0001-01-01T00:00:00Z
  const char* last = "Fri 23:59";   // 9999-12-31T23:59:59Z
  EXPECT_EQ(DateFormat::weekdayTime(Date{-62'135'596'800.0}, "en_GB", "UTC"), first);
  EXPECT_EQ(DateFormat::weekdayTime(Date{-1e18}, "en_GB", "UTC"), first);
  EXPECT_EQ(DateFormat::weekdayTime(Date{-inf}, "en_GB", "UTC"), first);
  EXPECT_EQ(DateFormat::weekdayTime(Date{std::numeric_limits<double>::quiet_NaN()}, "en_GB", "UTC"), first);
  EXPECT_EQ(DateFormat::weekdayTime(Date{253'402'300'799.0}, "en_GB", "UTC"), last);
  EXPECT_EQ(DateFormat::weekdayTime(Date{1e300}, "en_GB", "UTC"), last);
  EXPECT_EQ(DateFormat::weekdayTime(Date{inf}, "en_GB", "UTC"), last);
  EXPECT_EQ(DateFormat::time(Date{inf}, "en_GB", "Australia/Sydney"), "10:59");
}

TEST(DateFormat, OneFormatterFollowsItsZonesTransitions) {
  // Sydney leaves daylight time at 2026-04-05T03:00+11:00 (16:00Z the day before).
  const auto sydney = DateFormatter::make("en_GB", "Australia/Sydney");
  const double change = 1'775'318'400.0;
  EXPECT_EQ(sydney->weekdayTime(Date{change - 60}), "Sun 02:59");
  EXPECT_EQ(sydney->weekdayTime(Date{change}), "Sun 02:00");
  EXPECT_EQ(sydney->time(Date{change + 3600}), "03:00");
}

}  // namespace
}  // namespace ostrel
