#include "desktop/scheme_preference.hpp"

#include <gtest/gtest.h>

namespace ostrel::desktop {
namespace {

struct Row {
  SchemeChoice choice;
  DesktopPreference desktop;
  ColorScheme expected;
};

class SchemeForTest : public ::testing::TestWithParam<Row> {};

TEST_P(SchemeForTest, FollowsThePortalThenGtk) {
  const Row& r = GetParam();
  EXPECT_EQ(schemeFor(r.choice, r.desktop), r.expected);
}

constexpr auto kAuto = SchemeChoice::automatic;
constexpr auto kDark = ColorScheme::dark;
constexpr auto kLight = ColorScheme::light;

INSTANTIATE_TEST_SUITE_P(
    Table, SchemeForTest,
    ::testing::Values(
        // A fixed choice ignores the desktop.
        Row{SchemeChoice::light, {.portal = 1, .gtkPrefersDark = true, .gtkTheme = "Adwaita-dark"}, kLight},
        Row{SchemeChoice::dark, {.portal = 2, .gtkPrefersDark = false, .gtkTheme = "Adwaita"}, kDark},
        // The portal decides when it states a preference...
        Row{kAuto, {.portal = 1, .gtkPrefersDark = false, .gtkTheme = "Adwaita"}, kDark},
        Row{kAuto, {.portal = 2, .gtkPrefersDark = true, .gtkTheme = "Adwaita-dark"}, kLight},
        // ...and GTK's settings when it states none, answers an unknown value or is absent.
        Row{kAuto, {.portal = 0, .gtkPrefersDark = true, .gtkTheme = "Adwaita"}, kDark},
        Row{kAuto, {.portal = 7, .gtkPrefersDark = false, .gtkTheme = "Adwaita"}, kLight},
        Row{kAuto, {.portal = std::nullopt, .gtkPrefersDark = false, .gtkTheme = "Adwaita"}, kLight},
        Row{kAuto, {.portal = std::nullopt, .gtkPrefersDark = false, .gtkTheme = "Adwaita-dark"}, kDark},
        Row{kAuto, {.portal = 0, .gtkPrefersDark = false, .gtkTheme = "Arc-Dark"}, kDark},
        Row{kAuto, {.portal = 0, .gtkPrefersDark = false, .gtkTheme = "Yaru:dark"}, kDark},
        // Only a theme whose name ends in a separate "dark" word is dark.
        Row{kAuto, {.portal = 0, .gtkPrefersDark = false, .gtkTheme = "Darkroom"}, kLight},
        Row{kAuto, {.portal = 0, .gtkPrefersDark = false, .gtkTheme = "Adwaitadark"}, kLight},
        Row{kAuto, {.portal = 0, .gtkPrefersDark = false, .gtkTheme = "dark"}, kLight},
        Row{kAuto, {.portal = 0, .gtkPrefersDark = false, .gtkTheme = ""}, kLight}));

TEST(SchemeChoiceTest, NamesRoundTrip) {
  for (SchemeChoice c : {SchemeChoice::automatic, SchemeChoice::light, SchemeChoice::dark}) {
    EXPECT_EQ(schemeChoiceNamed(name(c)), c);
  }
  EXPECT_EQ(schemeChoiceNamed("automatic"), std::nullopt);
}

}  // namespace
}  // namespace ostrel::desktop
