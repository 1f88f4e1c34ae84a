#include "feed/date_rule.hpp"

#include <gtest/gtest.h>

#include "documents.hpp"

namespace ostrel {
namespace {

/// tests/data/feed/date_rule.rows: "accept SECONDS TEXT" or "reject TEXT".
TEST(DateRule, AcceptsAndRejectsTheRows) {
  const auto rows = test_rows::lines(test_rows::kFolder / "date_rule.rows");
  for (const std::string& line : rows) {
    const bool reject = line.starts_with("reject");
    const std::size_t at = reject ? std::min<std::size_t>(7, line.size()) : line.find(' ', 7) + 1;
    const auto d = parseDate(test_rows::unescape(line.substr(at)));
    if (reject) {
      EXPECT_EQ(d, std::nullopt) << line;
    } else {
      EXPECT_NEAR(d.value_or(Date{-1}).sinceEpoch, std::stod(line.substr(7, at - 8)), 1e-6) << line;
    }
  }
  EXPECT_GT(rows.size(), 60u);
}

}  // namespace
}  // namespace ostrel
