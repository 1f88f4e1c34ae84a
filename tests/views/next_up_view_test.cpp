// The next-class face: its boundaries in time and in each family (each situation's whole tree is
// in the reviewed goldens).

#include "views/next_up_view.hpp"

#include <gtest/gtest.h>

#include "faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

View nextUp(const Entry& e, WidgetFamily family) {
  return NextUpView{.entry = e, .family = family}.view(faceEnvironment(family));
}

TEST(NextUpView, OnNowExactlyAtTheStartAndNextUpOneSecondBefore) {
  const Loaded l = feedOf(std::vector{lesson("FINC3600", "Lecture", "Room 1", kNow, 1)}, std::nullopt);
  const View at = nextUp(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(at, "ON NOW"));
  EXPECT_TRUE(shows(at, "ends 11:00\u202fAM"));
  const View before = nextUp(Entry{.date = kNow - 1, .loaded = l}, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(before, "NEXT UP"));
  EXPECT_TRUE(shows(before, "in 1 min"));
  EXPECT_FALSE(shows(before, "ON NOW"));
}

TEST(NextUpView, SmallNeverShowsLaterClassesAndMediumShowsThemOnlyWhenThereAreSome) {
  const Loaded with =
      feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1),
                         lesson("AMED3003", "Tutorial", std::nullopt, kNow + 5 * kHour, 1, kAmed)},
             std::nullopt);
  const Entry e{.date = kNow, .loaded = with};
  EXPECT_FALSE(shows(nextUp(e, WidgetFamily::systemSmall), "LATER"));
  EXPECT_FALSE(shows(nextUp(e, WidgetFamily::systemSmall), "Tutorial"));
  EXPECT_TRUE(shows(nextUp(e, WidgetFamily::systemMedium), "LATER"));
  EXPECT_EQ(nodes(nextUp(e, WidgetFamily::systemMedium), "Divider").size(), 1u);

  const Loaded alone = feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1)}, std::nullopt);
  const View medium = nextUp(Entry{.date = kNow, .loaded = alone}, WidgetFamily::systemMedium);
  EXPECT_FALSE(shows(medium, "LATER"));
  EXPECT_TRUE(nodes(medium, "Divider").empty());
}

TEST(NextUpView, IdenticalLaterClassesAreTwoRows) {
  const ClassItem twin = lesson("AMED3003", "Tutorial", std::nullopt, kNow + 5 * kHour, 1, kAmed);
  const Loaded l =
      feedOf(std::vector{lesson("FINC3600", "Lecture", "R", kNow + kHour, 1), twin, twin}, std::nullopt);
  const auto lists = nodes(nextUp(Entry{.date = kNow, .loaded = l}, WidgetFamily::systemMedium), "ForEach");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].children.size(), 2u);
  EXPECT_EQ(lists[0].children[0], lists[0].children[1]);
}

}  // namespace
}  // namespace ostrel
