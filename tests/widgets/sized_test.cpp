#include "widgets/sized.hpp"

#include <gtest/gtest.h>

#include "views/faces.hpp"
#include "views/next_up_view.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

TEST(Sized, HandsTheEnvironmentsFamilyToItsContent) {
  std::vector<WidgetFamily> seen;
  const Sized<NextUpView> sized{[&](WidgetFamily f) {
    seen.push_back(f);
    return NextUpView{.entry = Entry{}, .family = f};
  }};
  static_cast<void>(sized.body(faceEnvironment(WidgetFamily::systemMedium)));
  static_cast<void>(sized.body(faceEnvironment(WidgetFamily::systemLarge)));
  EXPECT_EQ(seen, (std::vector{WidgetFamily::systemMedium, WidgetFamily::systemLarge}));
}

}  // namespace
}  // namespace ostrel
