// The next-class face at its boundaries in time and in the medium family (each situation's whole
// tree is in the reviewed goldens).

#include "views/next_up_view.hpp"

#include <gtest/gtest.h>

#include "faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

View nextUp(Date date, std::vector<ClassItem> classes, WidgetFamily family) {
  return NextUpView{.entry = {.date = date, .loaded = feedOf(std::move(classes), std::nullopt)},
                    .family = family}
      .view(faceEnvironment(family));
}

TEST(NextUpView, OnNowExactlyAtTheStartAndNextUpOneSecondBefore) {
  const std::vector<ClassItem> one{lesson("FINC3600", "Lecture", "Room 1", kNow, 1)};
  const View at = nextUp(kNow, one, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(at, "ON NOW"));
  EXPECT_TRUE(shows(at, "ends 11:00\u202fAM"));
  const View before = nextUp(kNow - 1, one, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(before, "NEXT UP"));
  EXPECT_TRUE(shows(before, "in 1 min"));
  // The medium face has no later list, and no divider, without a later class.
  const View medium = nextUp(kNow - 1, one, WidgetFamily::systemMedium);
  EXPECT_FALSE(shows(medium, "LATER"));
  EXPECT_TRUE(nodes(medium, "Divider").empty());
}

TEST(NextUpView, IdenticalLaterClassesAreTwoRows) {
  const ClassItem twin = lesson("AMED3003", "Tutorial", std::nullopt, kNow + 5 * kHour, 1, kAmed);
  const auto lists = nodes(nextUp(kNow, {lesson("FINC3600", "Lecture", "R", kNow + kHour, 1), twin, twin},
                                  WidgetFamily::systemMedium),
                           "ForEach");
  ASSERT_EQ(lists.size(), 1u);
  ASSERT_EQ(lists[0].children.size(), 2u);
  EXPECT_EQ(lists[0].children[0], lists[0].children[1]);
}

}  // namespace
}  // namespace ostrel
