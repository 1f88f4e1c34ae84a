#include "feed/date_rule.hpp"

#include <gtest/gtest.h>

#include "support/rows.hpp"

namespace ostrel {
namespace {

/// tests/data/feed/date_rule.rows: the texts accepted (with the instant in seconds) and rejected.
TEST(DateRule, AcceptsAndRejectsTheRows) {
  const auto accepted = test_support::rows("feed/date_rule.rows", "accept");
  for (const test_support::Row& r : accepted)
    EXPECT_NEAR(parseDate(r[1]).value_or(Date{-1}).sinceEpoch, std::stod(r[0]), 1e-6) << r.where;
  const auto rejected = test_support::rows("feed/date_rule.rows", "reject");
  for (const test_support::Row& r : rejected) EXPECT_EQ(parseDate(r[0]), std::nullopt) << r.where;
  EXPECT_GT(accepted.size() + rejected.size(), 60u);
}

}  // namespace
}  // namespace ostrel
