#include "components/when.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

const Date now{1'772'445'600.0};  // Monday 2026-03-02T10:00:00Z

TEST(When, IsOneVerbatimTextOfTheWording) {
  Environment env;
  const When w{.date = now + 90, .now = now};
  EXPECT_EQ(w.body(env), Text::verbatim("in 2 min"));
  EXPECT_EQ(w.view(env), Composite("When", {{{"date", (now + 90).sinceEpoch}, {"now", now.sinceEpoch}}},
                                   Text::verbatim("in 2 min")));
  // Drawn for the same two instants, it shows the same text, whatever the environment's scheme.
  env.colorScheme = ColorScheme::dark;
  EXPECT_EQ(w.view(env), (When{.date = now + 90, .now = now}).view(Environment{}));
  EXPECT_TRUE(w.body(env).modifiers.empty());
}

}  // namespace
}  // namespace ostrel
