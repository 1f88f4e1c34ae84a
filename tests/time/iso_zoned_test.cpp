#include "time/iso_zoned.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace ostrel {
namespace {

struct Row {
  double seconds;
  const char* zone;
  const char* text;
};

class IsoZoned : public testing::TestWithParam<Row> {};

TEST_P(IsoZoned, WallClockWithTheOffsetInEffect) {
  EXPECT_EQ(isoZoned(Date{GetParam().seconds}, GetParam().zone), GetParam().text)
      << GetParam().zone << " " << GetParam().seconds;
}

constexpr double kTen = 1'772'445'630;         // 2026-03-02T10:00:30Z
constexpr double kSydneyBack = 1'775'318'400;  // 2026-04-04T16:00:00Z: Sydney's clocks go back at 03:00

INSTANTIATE_TEST_SUITE_P(
    Table, IsoZoned,
    testing::Values(Row{kTen, "UTC", "2026-03-02T10:00:30.000+00:00"},
                    Row{kTen, "Australia/Sydney", "2026-03-02T21:00:30.000+11:00"},
                    Row{kTen, "Asia/Kolkata", "2026-03-02T15:30:30.000+05:30"},
                    Row{kTen, "America/St_Johns", "2026-03-02T06:30:30.000-03:30"},
                    Row{kTen + 0.25, "Europe/Berlin", "2026-03-02T11:00:30.250+01:00"},
                    Row{kSydneyBack - 0.001, "Australia/Sydney", "2026-04-05T02:59:59.999+11:00"},
                    Row{kSydneyBack, "Australia/Sydney", "2026-04-05T02:00:00.000+10:00"},
                    Row{-315'619'200, "Africa/Monrovia", "1959-12-31T23:15:30.000-00:44:30"},
                    Row{kTen, "Nowhere/Special", "2026-03-02T10:00:30.000+00:00"},
                    Row{std::numeric_limits<double>::quiet_NaN(), "UTC", "invalid"},
                    Row{1e300, "Australia/Sydney", "invalid"}));

}  // namespace
}  // namespace ostrel
