#include "components/heading.hpp"

#include <gtest/gtest.h>

// The heading row's structure is in the reviewed trees; here what they cannot show.
namespace ostrel {
namespace {

TEST(Heading, CapitalsFollowNoUserLocale) {
  Environment turkish;
  turkish.locale = "tr_TR";
  const View row = Heading{.text = "info", .trailing = std::nullopt}.body(turkish);
  EXPECT_EQ(row.children[1].text->shown, "INFO");
  const View mixed = Heading{.text = "Week 10: 3/13!", .trailing = std::nullopt}.body(turkish);
  EXPECT_EQ(mixed.children[1].text->shown, "WEEK 10: 3/13!");
}

}  // namespace
}  // namespace ostrel
