#include "desktop/scheme_preference.hpp"

#include <gtest/gtest.h>

#include "support/rows.hpp"

namespace ostrel::desktop {
namespace {

using test_support::Row;

TEST(SchemeForTest, FollowsThePortalThenGtk) {
  const auto rows = test_support::rows("desktop/scheme_preference.rows");
  ASSERT_FALSE(rows.empty());
  for (const Row& r : rows) {
    const DesktopPreference desktop{
        .portal = r[1] == "-" ? std::nullopt : std::optional<std::uint32_t>(std::stoul(r[1])),
        .gtkPrefersDark = r[2] == "yes",
        .gtkTheme = r[3]};
    EXPECT_EQ(name(schemeFor(schemeChoiceNamed(r[0]).value(), desktop)), r[4]) << r.where;
  }
}

TEST(SchemeChoiceTest, NamesRoundTrip) {
  for (SchemeChoice c : {SchemeChoice::automatic, SchemeChoice::light, SchemeChoice::dark}) {
    EXPECT_EQ(schemeChoiceNamed(name(c)), c);
  }
  EXPECT_EQ(schemeChoiceNamed("automatic"), std::nullopt);
}

}  // namespace
}  // namespace ostrel::desktop
