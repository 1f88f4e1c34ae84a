#include "components/heading.hpp"

#include <gtest/gtest.h>

#include "components/palette.hpp"

namespace ostrel {
namespace {

TEST(Heading, TheTitleInCapitalsAfterTheAccentDot) {
  const View row = Heading{.text = "Next up", .trailing = std::nullopt}.body(Environment{});
  ASSERT_EQ(row.children.size(), 3u);  // dot, title, spacer: nothing stands for an absent trailing text
  EXPECT_EQ(row.children[0].type, "Circle");
  EXPECT_EQ(std::get<modifier::Fill>(row.children[0].modifiers[0]).color, Palette::crimson());
  ASSERT_TRUE(row.children[1].text);
  EXPECT_EQ(row.children[1].text->shown, "NEXT UP");
  EXPECT_TRUE(row.children[1].text->verbatim);
  EXPECT_EQ(row.children[2].type, "Spacer");
}

TEST(Heading, TheTrailingTextUnchangedAtTheEnd) {
  const Heading h{.text = "Later", .trailing = "week 10 of 13"};
  const View row = h.body(Environment{});
  ASSERT_EQ(row.children.size(), 4u);
  ASSERT_TRUE(row.children[3].text);
  EXPECT_EQ(row.children[3].text->shown, "week 10 of 13");
  EXPECT_TRUE(row.children[3].text->verbatim);
  // The composite names both fields, so dumps show which heading stood where.
  const View node = h.view(Environment{});
  EXPECT_EQ(node.args.get<std::string>("text"), "Later");
  EXPECT_EQ(node.args.get<std::string>("trailing"), "week 10 of 13");
}

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
