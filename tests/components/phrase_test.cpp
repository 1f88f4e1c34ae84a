#include "components/phrase.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace ostrel {
namespace {

const Date now{1'772'445'600.0};  // Monday 2026-03-02T10:00:00Z
constexpr double minute = 60, hour = 3600;
constexpr double inf = std::numeric_limits<double>::infinity();
// ICU's English data separates the time from AM/PM with a narrow no-break space.
#define NB "\u202F"

struct Wording {
  double ahead;  ///< date - now, seconds
  const char* text;
};

TEST(Phrase, WordsACountdownByTheCeilingOfTheMinutes) {
  const Wording table[] = {
      {-2 * hour, "now"},
      {-30, "now"},
      {-1, "now"},
      {-0.0, "now"},
      {0, "now"},
      {0.001, "in 1 min"},
      {1, "in 1 min"},
      {59, "in 1 min"},
      {60, "in 1 min"},
      {61, "in 2 min"},
      {59 * minute, "in 59 min"},
      {59 * minute + 1, "in 1 h"},
      {60 * minute, "in 1 h"},
      {60 * minute + 1, "in 1 h 1 min"},
      {90 * minute, "in 1 h 30 min"},
      {2 * hour, "in 2 h"},
      {2 * hour + 1, "in 2 h 1 min"},
      {2 * hour + 59 * minute + 1, "in 3 h"},
      {11 * hour, "in 11 h"},
      {11 * hour + 59 * minute, "in 11 h 59 min"},
      {11 * hour + 58 * minute + 1, "in 11 h 59 min"},
  };
  for (const auto& [ahead, text] : table) {
    EXPECT_EQ(Phrase::until(now + ahead, now, "en_US", TimeZone::utc()), text) << ahead << " s";
    // The countdown is the same whatever the locale.
    EXPECT_EQ(Phrase::until(now + ahead, now, "de_DE", TimeZone::named("Asia/Tokyo")), text) << ahead << " s";
  }
}

TEST(Phrase, TwelveHoursAndMoreShowTheWeekdayAndTime) {
  // 720 minutes, not 721, is the first formatted count.
  EXPECT_EQ(Phrase::countdown(now + 11 * hour + 59 * minute + 1, now), std::nullopt);
  EXPECT_EQ(Phrase::until(now + 11 * hour + 59 * minute + 1, now, "en_US", TimeZone::utc()),
            "Mon 9:59" NB "PM");
  EXPECT_EQ(Phrase::until(now + 12 * hour, now, "en_US", TimeZone::utc()), "Mon 10:00" NB "PM");
  EXPECT_EQ(Phrase::until(now + 3 * 24 * hour + 5 * minute, now, "en_US", TimeZone::utc()),
            "Thu 10:05" NB "AM");
}

struct Formatted {
  const char* locale;
  const char* zone;
  const char* text;
};

TEST(Phrase, TheFormattedBranchFollowsLocaleAndZone) {
  const Date date = now + 3 * 24 * hour + 5 * minute;  // Thursday 2026-03-05T10:05:00Z
  // Each locale's order and clock is the date formatter's; here that both reach it.
  const Formatted table[] = {
      {"en_US", "Australia/Sydney", "Thu 9:05" NB "PM"},
      {"de_DE", "Pacific/Kiritimati", "Fr., 00:05"},
  };
  for (const auto& [locale, zone, text] : table) {
    EXPECT_EQ(Phrase::until(date, now, locale, TimeZone::named(zone)), text) << locale << " " << zone;
  }
  Environment env;
  env.locale = "de_DE";
  env.timeZone = TimeZone::named("Europe/Berlin");
  EXPECT_EQ(Phrase::until(date, now, env), "Do., 11:05");
}

TEST(Phrase, InstantsBeyondAnyClockStillHaveAWording) {
  const double nan = std::nan("");
  const Date year1{-62'135'596'800.0};     // 0001-01-01T00:00:00Z, a Monday
  const Date year9999{253'402'300'740.0};  // 9999-12-31T23:59:00Z, a Friday
  // Not after now, NaN included: "now".
  EXPECT_EQ(Phrase::until(year1, now, "en_US", TimeZone::utc()), "now");
  EXPECT_EQ(Phrase::until(Date{-inf}, now, "en_US", TimeZone::utc()), "now");
  EXPECT_EQ(Phrase::until(Date{nan}, now, "en_US", TimeZone::utc()), "now");
  EXPECT_EQ(Phrase::until(now, Date{nan}, "en_US", TimeZone::utc()), "now");
  EXPECT_EQ(Phrase::until(Date{inf}, Date{inf}, "en_US", TimeZone::utc()), "now");
  EXPECT_EQ(Phrase::until(Date{-inf}, Date{-inf}, "en_US", TimeZone::utc()), "now");
  EXPECT_EQ(Phrase::until(Date{std::numeric_limits<double>::lowest()},
                          Date{std::numeric_limits<double>::max()}, "en_US", TimeZone::utc()),
            "now");
  // Far ahead, however far: the date itself, clamped to the years 1 to 9999.
  EXPECT_EQ(Phrase::until(year9999, now, "en_US", TimeZone::utc()), "Fri 11:59" NB "PM");
  EXPECT_EQ(Phrase::until(Date{inf}, now, "en_US", TimeZone::utc()), "Fri 11:59" NB "PM");
  EXPECT_EQ(Phrase::until(Date{1e300}, now, "en_GB", TimeZone::utc()), "Fri 23:59");
  EXPECT_EQ(Phrase::until(now, year1, "en_US", TimeZone::utc()), "Mon 10:00" NB "AM");
  EXPECT_EQ(Phrase::until(now, Date{-inf}, "en_US", TimeZone::utc()), "Mon 10:00" NB "AM");
  EXPECT_EQ(Phrase::until(Date{std::numeric_limits<double>::max()},
                          Date{std::numeric_limits<double>::lowest()}, "en_US", TimeZone::utc()),
            "Fri 11:59" NB "PM");
  EXPECT_EQ(Phrase::until(Date{-1e300}, Date{-inf}, "en_US", TimeZone::utc()), "Mon 12:00" NB "AM");
  // Intervals below anything a clock measures still count as a minute.
  EXPECT_EQ(Phrase::until(Date{std::numeric_limits<double>::denorm_min()}, Date{0}, "en_US", TimeZone::utc()),
            "in 1 min");
}

}  // namespace
}  // namespace ostrel
