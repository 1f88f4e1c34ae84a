// The windows' accessible names over AT-SPI (the registry started on the test's own session bus):
// each is the face's reading, and it follows the face from entry to entry.
#include <atspi/atspi.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

/// The names of every application's top-level accessibles, as a screen reader finds them.
std::vector<std::string> windowNames() {
  std::vector<std::string> names;
  AtspiAccessible* desktop = atspi_get_desktop(0);
  const gint apps = atspi_accessible_get_child_count(desktop, nullptr);
  for (gint i = 0; i < apps; ++i) {
    AtspiAccessible* app = atspi_accessible_get_child_at_index(desktop, i, nullptr);
    if (app == nullptr) continue;
    const gint windows = atspi_accessible_get_child_count(app, nullptr);
    for (gint j = 0; j < windows; ++j) {
      AtspiAccessible* window = atspi_accessible_get_child_at_index(app, j, nullptr);
      if (window == nullptr) continue;
      if (gchar* name = atspi_accessible_get_name(window, nullptr)) {
        names.emplace_back(name);
        g_free(name);
      }
      g_object_unref(window);
    }
    g_object_unref(app);
  }
  g_object_unref(desktop);
  return names;
}

class AccessibilityTest : public HostFixture {};

TEST_F(AccessibilityTest, EachWindowIsNamedByItsFacesReadingFromEntryToEntry) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  OSTREL_NEED_PROGRAM("/usr/libexec/at-spi-bus-launcher");
  Xvfb x(1280, 800, dir_);
  SessionBus bus(dir_);
  ASSERT_TRUE(x.ok() && bus.ok());
  // This process reads the registry through the test's bus (AT-SPI finds it once, here).
  ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.address().c_str(), 1);
  ASSERT_EQ(atspi_init(), 0);

  // Half a minute a second: a new minute entry every two seconds.
  Process host =
      startHost({"--speed", "30"}, {{"DISPLAY", x.display()}, {"DBUS_SESSION_BUS_ADDRESS", bus.address()}});
  const auto minuteShown = [&](const std::vector<std::string>& names, const std::string& kind,
                               WidgetFamily family) {
    for (int m = 0; m < 60; ++m) {
      const std::string expected = expectedReading(kind, family, kStartUtc + 60 * m);
      if (std::find(names.begin(), names.end(), expected) != names.end()) return m;
    }
    return -1;
  };
  std::vector<std::string> names;
  int first = -1;
  ASSERT_TRUE(eventually(
      [&] {
        names = windowNames();
        first = minuteShown(names, "NextUp", WidgetFamily::systemSmall);
        return first >= 0 && minuteShown(names, "DueSoon", WidgetFamily::systemMedium) >= 0;
      },
      60))
      << ::testing::PrintToString(names) << "\nexpected e.g. "
      << expectedReading("NextUp", WidgetFamily::systemSmall, kStartUtc) << "\n"
      << hostErrors();
  EXPECT_EQ(expectedReading("NextUp", WidgetFamily::systemSmall, kStartUtc),
            "Next up: FINC3600, Lecture, in 40 min, ABS Lecture Theatre 1010");

  int next = first;
  EXPECT_TRUE(eventually([&] {
    names = windowNames();
    next = minuteShown(names, "NextUp", WidgetFamily::systemSmall);
    return next != first && next >= 0;
  })) << ::testing::PrintToString(names);
  EXPECT_EQ(next, first + 1);
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

}  // namespace
}  // namespace ostrel::display_test
