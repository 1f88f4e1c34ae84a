#include "feed/date_rule.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace ostrel {
namespace {

constexpr double kMonday = 1'772'445'600.0;  // 2026-03-02T10:00:00Z

struct Accepted {
  const char* text;
  double sinceEpoch;
};

class DateRuleAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(DateRuleAccepts, GivesTheInstant) {
  const auto d = parseDate(GetParam().text);
  ASSERT_TRUE(d.has_value());
  EXPECT_NEAR(d->sinceEpoch, GetParam().sinceEpoch, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DateRuleAccepts,
    testing::Values(
        // Without and with a fraction of the second.
        Accepted{"2026-03-02T10:00:00Z", kMonday}, Accepted{"2026-03-02T10:00:00.000Z", kMonday},
        Accepted{"2026-03-02T10:00:00.5Z", kMonday + 0.5},
        Accepted{"2026-03-02T10:00:00.123Z", kMonday + 0.123},
        Accepted{"2026-03-02T10:00:00.000001Z", kMonday + 1e-6},
        Accepted{"2026-03-02T10:00:00.123456789012345678901Z", kMonday + 0.123456789},
        // Offsets are applied.
        Accepted{"2026-03-02T20:00:00+10:00", kMonday}, Accepted{"2026-03-02T21:00:00.000+11:00", kMonday},
        Accepted{"2026-03-02T04:30:00-05:30", kMonday}, Accepted{"2026-03-02T10:00:00+00:00", kMonday},
        Accepted{"2026-03-02T10:00:00-00:00", kMonday}, Accepted{"2026-03-03T09:59:00+23:59", kMonday},
        Accepted{"2026-03-01T23:00:00-11:00", kMonday}, Accepted{"2026-03-02T21:00:00.0000+11:00", kMonday},
        // Calendar edges.
        Accepted{"1970-01-01T00:00:00Z", 0}, Accepted{"1969-12-31T23:59:59Z", -1},
        Accepted{"2024-02-29T00:00:00Z", 1'709'164'800}, Accepted{"2000-02-29T00:00:00Z", 951'782'400},
        Accepted{"2026-12-31T23:59:59Z", 1'798'761'599}, Accepted{"0000-01-01T00:00:00Z", -62'167'219'200},
        Accepted{"9999-12-31T23:59:59Z", 253'402'300'799}));

class DateRuleRejects : public testing::TestWithParam<const char*> {};

TEST_P(DateRuleRejects, GivesNothing) {
  EXPECT_EQ(parseDate(GetParam()), std::nullopt) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DateRuleRejects,
    testing::Values("", "2026-03-02", "2026-03-02T10:00:00", "2026-03-02T10:00Z", "2026-03-02 10:00:00Z",
                    "2026-03-02t10:00:00Z", "2026-03-02T10:00:00z", "2026-03-02T10:00:00.Z",
                    "2026-03-02T10:00:00,5Z", "2026-03-02T10:00:00+1000", "2026-03-02T10:00:00+10",
                    "2026-03-02T10:00:00+10:0", "2026-03-02T10:00:00ZZ", "2026-03-02T10:00:00Z ",
                    " 2026-03-02T10:00:00Z", "26-03-02T10:00:00Z", "02026-03-02T10:00:00Z",
                    "+2026-03-02T10:00:00Z", "2026-3-02T10:00:00Z", "2026-03-2T10:00:00Z",
                    "2026-03-02T1:00:00Z", "2026-03-02T10:0:00Z", "2026-03-02T10:00:0Z",
                    "2026-03-02T10:00:00.5", "2026/03/02T10:00:00Z", "2026-03-02T10:00:00+10:00Z",
                    "2026-0a-02T10:00:00Z", "2026-03-02T10:00:00.5+1:00", "20260302T100000Z"));

INSTANTIATE_TEST_SUITE_P(Calendar, DateRuleRejects,
                         testing::Values("2026-13-01T00:00:00Z", "2026-00-01T00:00:00Z",
                                         "2026-01-00T00:00:00Z", "2026-01-32T00:00:00Z",
                                         "2026-02-30T00:00:00Z", "2026-02-29T00:00:00Z",
                                         "1900-02-29T00:00:00Z", "2026-04-31T00:00:00Z",
                                         "2026-03-02T24:00:00Z", "2026-03-02T10:60:00Z",
                                         "2026-03-02T10:00:60Z", "2026-03-02T10:00:00+24:00",
                                         "2026-03-02T10:00:00+10:60", "2026-03-02T10:00:00-99:00"));

TEST(DateRule, KeepsMillisecondsAcrossAYear) {
  // Every millisecond of a day-long sweep in 2026 survives as a distinct, correctly ordered instant.
  std::optional<Date> previous;
  for (int ms = 0; ms < 1000; ms += 7) {
    char text[40];
    std::snprintf(text, sizeof text, "2026-06-15T12:34:56.%03dZ", ms);
    const auto d = parseDate(text);
    ASSERT_TRUE(d.has_value()) << text;
    EXPECT_NEAR(std::fmod(d->sinceEpoch, 1.0), ms / 1000.0, 1e-6) << text;
    if (previous) {
      EXPECT_LT(*previous, *d);
    }
    previous = d;
  }
}

TEST(DateRule, EmbeddedNulIsNotADate) {
  using namespace std::string_view_literals;
  EXPECT_EQ(parseDate("2026-03-02T10:00:00Z\0"sv), std::nullopt);
  EXPECT_EQ(parseDate("2026-03-02T10:00:00.\0Z"sv), std::nullopt);
}

}  // namespace
}  // namespace ostrel
