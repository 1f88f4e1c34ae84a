// The bundle as the host reads it: its content function builds the face itself.

#include "widgets/widgets.hpp"

#include <gtest/gtest.h>

#include "views/faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

TEST(Widgets, TheHostsContentFunctionIsTheFaceBuiltDirectly) {
  const Entry e{.date = kNow, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))};
  const auto widgets = OstrelWidgets{}.body();
  const Environment env = faceEnvironment(WidgetFamily::systemMedium, ColorScheme::dark);
  const View viaHost = widgets[1].content(e, env);
  ASSERT_EQ(viaHost.children.size(), 1u);
  EXPECT_EQ(viaHost.children[0], (DueView{.entry = e, .family = WidgetFamily::systemMedium}.view(env)));
}

}  // namespace
}  // namespace ostrel
