// The bundle as the host reads it: the widgets in order, their families, and the content function.

#include "widgets/widgets.hpp"

#include <gtest/gtest.h>

#include "views/faces.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

TEST(Widgets, TheBundleDeclaresBothWidgetsInOrder) {
  const auto widgets = OstrelWidgets{}.body();
  ASSERT_EQ(widgets.size(), 2u);
  EXPECT_EQ(widgets[0].kind, "NextUp");
  EXPECT_EQ(widgets[0].displayNameKey, "Next up");
  EXPECT_EQ(widgets[0].descriptionKey, "Your next class, counting down, with its room.");
  EXPECT_EQ(widgets[0].families, (std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
  EXPECT_EQ(widgets[1].kind, "DueSoon");
  EXPECT_EQ(widgets[1].displayNameKey, "Due soon");
  EXPECT_EQ(widgets[1].descriptionKey, "What is due in the next three weeks, and the cards due today.");
  EXPECT_EQ(widgets[1].families, (std::vector{WidgetFamily::systemMedium, WidgetFamily::systemLarge}));
  EXPECT_FALSE(widgets[0].offers(WidgetFamily::systemLarge));
  EXPECT_FALSE(widgets[1].offers(WidgetFamily::systemSmall));
}

TEST(Widgets, TheContentFunctionHoldsAnEqualCopyOfTheEntry) {
  const Entry e{.date = kNow, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))};
  EXPECT_EQ(NextUpWidget::content(e).content(WidgetFamily::systemSmall).entry, e);
  EXPECT_EQ(DueWidget::content(e).content(WidgetFamily::systemLarge).entry, e);
  EXPECT_EQ(DueWidget::content(e).content(WidgetFamily::systemLarge).family, WidgetFamily::systemLarge);
  // The host's content function is the same view as the face built directly.
  const auto widgets = OstrelWidgets{}.body();
  const Environment env = faceEnvironment(WidgetFamily::systemMedium, ColorScheme::dark);
  const View viaHost = widgets[1].content(e, env);
  ASSERT_EQ(viaHost.children.size(), 1u);
  EXPECT_EQ(viaHost.children[0], (DueView{.entry = e, .family = WidgetFamily::systemMedium}.view(env)));
}

}  // namespace
}  // namespace ostrel
