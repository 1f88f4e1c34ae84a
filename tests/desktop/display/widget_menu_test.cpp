// What the user can do to a widget on X11 (Xvfb, the AT-SPI registry on the test's own bus): its
// menu, from a right click or from a screen reader, driven by the keyboard; dragging it, and
// finding it where it was left at the next start.
#include <atspi/atspi.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>

#include "desktop/display/host_fixture.hpp"
#include "desktop/display/x11_windows.hpp"

namespace ostrel::display_test {
namespace {

/// Runs the "menu" action of the accessible window whose name starts with `prefix`; whether found.
bool openMenuThroughAtspi(const std::string& prefix) {
  return visitAccessibles(2, [&](AtspiAccessible* window, const std::string& name) {
    AtspiAction* action = name.rfind(prefix, 0) == 0 ? atspi_accessible_get_action_iface(window) : nullptr;
    if (action == nullptr) return false;
    gchar* first = atspi_action_get_action_name(action, 0, nullptr);
    const bool done = g_strcmp0(first, "menu") == 0 && atspi_action_do_action(action, 0, nullptr) != FALSE;
    g_free(first);
    g_object_unref(action);
    return done;
  });
}

using WidgetMenuTest = X11Fixture;

TEST_F(WidgetMenuTest, TheMenuRemovesQuitsAndSetsTheAppearanceAndADraggedWidgetStaysWhereItWasLeft) {
  for (const char* program : {"xdotool", "/usr/libexec/at-spi-bus-launcher"}) OSTREL_NEED_PROGRAM(program);
  ASSERT_EQ(atspi_init(), 0);
  const auto xdotool = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    return runToEnd(args, env_);
  };
  Process host = startHost({"--scheme", "light"}, env_);
  const std::optional<XWindow> due = awaitWindow(*x_, "Due soon");
  ASSERT_TRUE(due && awaitWindow(*x_, "Next up")) << hostErrors();

  // A screen reader's user opens it from the accessible; the keyboard chooses "Remove this widget".
  ASSERT_TRUE(eventually([&] { return openMenuThroughAtspi("Next up:"); })) << hostErrors();
  ASSERT_TRUE(eventually([&] { return popupShown(x_->display()); }));
  ASSERT_EQ(xdotool({"key", "Return"}), 0);
  EXPECT_TRUE(eventually([&] { return !findWindow(x_->display(), "Next up"); }))
      << "the widget is still there";
  EXPECT_TRUE(findWindow(x_->display(), "Due soon"));

  // Appearance, Dark: the face turns dark.
  const auto brightness = [&] {
    const Rgb p = pixelAt(x_->display(), due->x + 300, due->y + 20);
    return p.r + p.g + p.b;
  };
  ASSERT_GT(brightness(), 600);
  ASSERT_EQ(xdotool({"mousemove", std::to_string(due->x + 300), std::to_string(due->y + 20), "click", "3"}),
            0);
  ASSERT_TRUE(eventually([&] { return popupShown(x_->display()); }));
  ASSERT_EQ(xdotool({"key", "Down", "Down", "Right", "Down", "Down", "Return"}), 0);
  EXPECT_TRUE(eventually([&] { return brightness() < 200; })) << brightness();

  // Dragged 200 points left and down: it moves, and the place is kept for the next start.
  ASSERT_EQ(
      xdotool({"mousemove", std::to_string(due->x + 100), std::to_string(due->y + 100), "mousedown", "1",
               "mousemove", std::to_string(due->x), std::to_string(due->y + 200), "sleep", "0.3", "mousemove",
               std::to_string(due->x - 100), std::to_string(due->y + 300), "sleep", "0.3", "mouseup", "1"}),
      0);
  const int movedX = due->x - 200, movedY = due->y + 200;
  EXPECT_TRUE(eventually([&] {
    const auto w = findWindow(x_->display(), "Due soon");
    return w && w->x == movedX && w->y == movedY;
  }));
  const std::filesystem::path places = dir_ / "config" / "ostrel-widgets" / "places.conf";
  EXPECT_TRUE(eventually([&] {
    return readFile(places).find("[DueSoon:systemMedium]\nx=" + std::to_string(movedX) +
                                 "\ny=" + std::to_string(movedY)) != std::string::npos;
  })) << readFile(places);
  EXPECT_EQ(host.stop(SIGTERM), 0);

  Process again = startHost({}, env_);
  const std::optional<XWindow> restarted = awaitWindow(*x_, "Due soon");
  ASSERT_TRUE(restarted);
  EXPECT_EQ(std::pair(restarted->x, restarted->y), std::pair(movedX, movedY));
  const std::optional<XWindow> next = findWindow(x_->display(), "Next up");
  ASSERT_TRUE(next) << "a widget removed from the menu comes back at the next start";

  // "Quit" (the last item) ends the host with status 0.
  ASSERT_EQ(xdotool({"mousemove", std::to_string(next->x + 80), std::to_string(next->y + 80), "click", "3"}),
            0);
  ASSERT_TRUE(eventually([&] { return popupShown(x_->display()); }));
  ASSERT_EQ(xdotool({"key", "Up", "Return"}), 0);
  EXPECT_EQ(again.wait(15), 0);
  EXPECT_EQ(hostErrors(), "");
}

}  // namespace
}  // namespace ostrel::display_test
