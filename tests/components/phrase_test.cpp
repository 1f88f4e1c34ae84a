#include "components/phrase.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/rows.hpp"

namespace ostrel {
namespace {

TEST(Phrase, UntilWordsEveryRow) {
  const auto rows = test_support::rows("phrase-until.tsv");
  ASSERT_GT(rows.size(), 60u);
  for (const auto& row : rows) {
    const Date date{std::strtod(row[0].c_str(), nullptr)}, now{std::strtod(row[1].c_str(), nullptr)};
    EXPECT_EQ(Phrase::until(date, now, row[2], TimeZone::named(row[3])), row[4])
        << row[0] << " seen at " << row[1] << " in " << row[2] << " " << row[3];
    // The same in an environment of that locale and zone.
    Environment env;
    env.locale = row[2];
    env.timeZone = TimeZone::named(row[3]);
    EXPECT_EQ(Phrase::until(date, now, env), row[4]) << row[0] << " seen at " << row[1] << " in " << row[2];
  }
}

}  // namespace
}  // namespace ostrel
