// The next-class face at its boundaries in time and in the medium family (each situation's whole
// tree is in the reviewed goldens).

#include "views/next_up_view.hpp"

#include <gtest/gtest.h>

#include "faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

View nextUp(const std::string& feed, const std::string& date, WidgetFamily family) {
  return NextUpView{.entry = situation(feed, date), .family = family}.view(faceEnvironment(family));
}

TEST(NextUpView, OnNowExactlyAtTheStartAndNextUpOneSecondBefore) {
  // messy-text.json holds one class, from 11:00 to 12:00.
  const View at = nextUp("messy-text.json", "2026-03-02T11:00:00Z", WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(at, "ON NOW"));
  EXPECT_TRUE(shows(at, "ends 12:00\u202fPM"));
  const View before = nextUp("messy-text.json", "2026-03-02T10:59:59Z", WidgetFamily::systemMedium);
  EXPECT_TRUE(shows(before, "NEXT UP"));
  EXPECT_TRUE(shows(before, "in 1 min"));
  // Without a later class the medium face has no later list and no divider.
  EXPECT_FALSE(shows(before, "LATER"));
  EXPECT_TRUE(nodes(before, "Divider").empty());
}

}  // namespace
}  // namespace ostrel
