#include "feed/date_rule.hpp"

#include <gtest/gtest.h>

#include "rows.hpp"

namespace ostrel {
namespace {

/// tests/data/feed/date_rule.rows: "accept SECONDS TEXT" or "reject TEXT".
TEST(DateRule, AcceptsAndRejectsTheRows) {
  int rows = 0;
  for (const std::string& line : test_rows::lines(test_rows::kFolder / "date_rule.rows")) {
    ++rows;
    if (line.starts_with("reject")) {
      const std::string text = test_rows::unescape(line.substr(std::min<std::size_t>(line.size(), 7)));
      EXPECT_EQ(parseDate(text), std::nullopt) << text;
      continue;
    }
    const std::size_t space = line.find(' ', 7);
    const std::string text = test_rows::unescape(line.substr(space + 1));
    const auto d = parseDate(text);
    ASSERT_TRUE(d.has_value()) << text;
    EXPECT_NEAR(d->sinceEpoch, std::stod(line.substr(7, space - 7)), 1e-6) << text;
  }
  EXPECT_GT(rows, 60);
}

}  // namespace
}  // namespace ostrel
