#include "time/iso_utc.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ostrel {
namespace {

struct Iso {
  double seconds;
  const char* text;
};

class IsoUtc : public testing::TestWithParam<Iso> {};

TEST_P(IsoUtc, MillisecondsInUtc) {
  EXPECT_EQ(isoUtc(Date{GetParam().seconds}), GetParam().text) << GetParam().seconds;
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsoUtc,
    testing::Values(Iso{0, "1970-01-01T00:00:00.000Z"}, Iso{1'772'445'630, "2026-03-02T10:00:30.000Z"},
                    Iso{1'772'445'630.0004, "2026-03-02T10:00:30.000Z"},
                    Iso{1'772'445'630.9996, "2026-03-02T10:00:30.999Z"},
                    Iso{1'772'445'659.9996, "2026-03-02T10:00:59.999Z"},
                    Iso{1'772'445'630.123, "2026-03-02T10:00:30.123Z"},
                    Iso{0.001, "1970-01-01T00:00:00.001Z"}, Iso{-0.0004, "1969-12-31T23:59:59.999Z"},
                    Iso{-0.5, "1969-12-31T23:59:59.500Z"}, Iso{-86'400, "1969-12-31T00:00:00.000Z"},
                    Iso{951'782'400, "2000-02-29T00:00:00.000Z"},
                    Iso{253'402'300'799.999, "9999-12-31T23:59:59.999Z"},
                    Iso{-62'135'596'800, "0001-01-01T00:00:00.000Z"},
                    Iso{std::numeric_limits<double>::infinity(), "invalid"},
                    Iso{std::numeric_limits<double>::quiet_NaN(), "invalid"}, Iso{1e300, "invalid"}));

}  // namespace
}  // namespace ostrel
