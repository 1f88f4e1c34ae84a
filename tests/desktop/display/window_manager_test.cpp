// The host under real X11 window managers (Openbox, xfwm4 on Xvfb), beside a file manager's
// desktop window and an ordinary application's window: the widgets stay on the desktop whatever
// the user does to the windows around them.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "desktop/display/host_fixture.hpp"
#include "desktop/display/x11_windows.hpp"

namespace ostrel::display_test {
namespace {

constexpr Rgb kDesktop{40, 110, 160}, kOther{220, 30, 30};

class WindowManagerTest : public HostFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  /// Starts Xvfb and the window manager of the test's row, then a desktop window over the root.
  bool startSession() {
    x_ = std::make_unique<Xvfb>(1280, 800, dir_);
    bus_ = std::make_unique<SessionBus>(dir_);  // for the manager's settings
    if (!x_->ok() || !bus_->ok()) return false;
    wm_ = Process({GetParam()},
                  {.env = {{"DISPLAY", x_->display()}, {"DBUS_SESSION_BUS_ADDRESS", bus_->address()}},
                   .out = {},
                   .err = dir_ / "wm.log",
                   .passFd = {},
                   .prefix = {}});
    if (!eventually([&] { return windowManagerRuns(x_->display()); })) {
      ADD_FAILURE() << "no window manager: " << readFile(dir_ / "wm.log");
      return false;
    }
    // A window mapped while the manager is still starting can be missed by it: map again.
    for (int attempt = 0; attempt < 4; ++attempt) {
      desktop_ = std::make_unique<PlainWindow>(x_->display(), Place{0, 0, 1280, 800}, kDesktop, true);
      if (eventually([&] { return pixelAt(x_->display(), 300, 300) == kDesktop; }, 3)) return true;
    }
    return false;
  }

  std::unique_ptr<Xvfb> x_;
  std::unique_ptr<SessionBus> bus_;
  Process wm_;
  std::unique_ptr<PlainWindow> desktop_;
};

TEST_P(WindowManagerTest, TheWidgetStaysShownBelowOtherWindowsAndUnfocused) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM(GetParam());
  OSTREL_NEED_PROGRAM("wmctrl");
  OSTREL_NEED_PROGRAM("xdotool");
  ASSERT_TRUE(startSession()) << readFile(dir_ / "wm.log");
  Process host =
      startHost({"--widget", "NextUp:systemSmall", "--scheme", "light"}, {{"DISPLAY", x_->display()}});
  // The widget stands at 1086–1256 × 24–194; the other window covers its left part.
  std::optional<XWindow> w;
  ASSERT_TRUE(eventually([&] { return (w = findWindow(x_->display(), "Next up")).has_value(); }))
      << hostErrors();
  Rgb face;
  ASSERT_TRUE(eventually([&] { return (face = pixelAt(x_->display(), 1200, 100)) != kDesktop; }));
  const PlainWindow other(x_->display(), Place{950, 0, 200, 300}, kOther, false);
  ASSERT_TRUE(eventually([&] { return pixelAt(x_->display(), 1100, 100) == kOther; }));

  struct Step {
    const char* what;
    std::vector<std::string> command;
  };
  for (const Step& step : {Step{"click the widget", {"xdotool", "mousemove", "1200", "100", "click", "1"}},
                           Step{"click the desktop", {"xdotool", "mousemove", "300", "300", "click", "1"}},
                           Step{"show the desktop", {"wmctrl", "-k", "on"}}}) {
    SCOPED_TRACE(step.what);
    ASSERT_EQ(runToEnd(step.command, {{"DISPLAY", x_->display()}}), 0);
    ::usleep(700'000);  // the window manager's answer, were there a wrong one
    EXPECT_TRUE(findWindow(x_->display(), "Next up").has_value()) << "the widget was unmapped";
    EXPECT_EQ(pixelAt(x_->display(), 1200, 100), face)
        << "the widget is hidden: " << keep(grabX11(x_->display(), 0, 0, 1280, 800), "screen");
    if (std::string(step.what) != "show the desktop") {
      EXPECT_EQ(pixelAt(x_->display(), 1100, 100), kOther) << "the widget rose over another window";
    }
    EXPECT_NE(activeWindow(x_->display()), w->id) << "the widget took the focus";
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

INSTANTIATE_TEST_SUITE_P(Managers, WindowManagerTest, ::testing::Values("openbox", "xfwm4"),
                         [](const auto& row) { return std::string(row.param); });

class DesktopChangesTest : public HostFixture {};

/// The manager running first, and the one that replaces it.
using Handover = std::pair<const char*, const char*>;
class HandoverTest : public DesktopChangesTest, public ::testing::WithParamInterface<Handover> {};

TEST_P(HandoverTest, ANewWindowManagerKeepsTheWidgetOnEveryWorkspaceAndBelow) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM(GetParam().first);
  OSTREL_NEED_PROGRAM(GetParam().second);
  OSTREL_NEED_PROGRAM("wmctrl");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  Xvfb x(1280, 800, dir_);
  // A bus of the test's: else the first manager's settings client starts one that ends with it.
  SessionBus bus(dir_);
  ASSERT_TRUE(x.ok() && bus.ok());
  const std::map<std::string, std::string> env{{"DISPLAY", x.display()},
                                               {"DBUS_SESSION_BUS_ADDRESS", bus.address()}};
  const Process::Options options{.env = env, .out = {}, .err = dir_ / "wm.log", .passFd = {}, .prefix = {}};
  Process first({GetParam().first}, options);
  ASSERT_TRUE(eventually([&] { return windowManagerRuns(x.display()); })) << readFile(dir_ / "wm.log");
  Process host = startHost({"--widget", "NextUp:systemSmall"}, env);
  const auto standsRight = [&] {
    const auto w = findWindow(x.display(), "Next up");
    if (!w) return false;
    const auto has = [&](const char* state) {
      return std::find(w->states.begin(), w->states.end(), state) != w->states.end();
    };
    return has("_NET_WM_STATE_BELOW") && (w->desktop.value_or(0) & 0xFFFFFFFF) == 0xFFFFFFFF;
  };
  ASSERT_TRUE(eventually(standsRight)) << hostErrors();

  Process second({GetParam().second, "--replace"}, options);
  ASSERT_TRUE(first.wait(15)) << "the first manager did not hand over";
  EXPECT_TRUE(eventually(standsRight, 10)) << "the new manager does not keep it sticky and below";
  ASSERT_EQ(runToEnd({"wmctrl", "-s", "1"}, env), 0);
  EXPECT_TRUE(eventually([&] { return findWindow(x.display(), "Next up").has_value(); }, 5))
      << "gone from the next workspace";
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

INSTANTIATE_TEST_SUITE_P(Managers, HandoverTest,
                         ::testing::Values(Handover{"xfwm4", "xfwm4"}, Handover{"openbox", "xfwm4"},
                                           Handover{"xfwm4", "openbox"}),
                         [](const auto& row) {
                           return std::string(row.param.first) + "To" + row.param.second;
                         });

TEST_F(DesktopChangesTest, TheCornersShowTheWallpaperAsItChangesAndAsACompositorComesAndGoes) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("picom");
  Xvfb x(1280, 800, dir_);
  ASSERT_TRUE(x.ok());
  constexpr Rgb kFirst{40, 110, 160}, kSecond{200, 120, 30};
  ASSERT_TRUE(setWallpaper(x.display(), kFirst));
  Process host =
      startHost({"--widget", "NextUp:systemSmall", "--scheme", "light"}, {{"DISPLAY", x.display()}});
  std::optional<XWindow> w;
  ASSERT_TRUE(eventually([&] { return (w = findWindow(x.display(), "Next up")).has_value(); }))
      << hostErrors();
  // The outermost pixel of the rounded shape's corner: outside it, the desktop shows.
  const auto corner = [&] { return pixelAt(x.display(), w->x + 1, w->y + 1); };
  const auto depth = [&] {
    const auto now = findWindow(x.display(), "Next up");
    return now ? now->depth : 0;
  };
  const auto screen = [&](const std::string& name) {
    return keep(grabX11(x.display(), w->x, w->y, 170, 170), name);
  };
  ASSERT_TRUE(eventually([&] { return corner() == kFirst; })) << screen("first");

  ASSERT_TRUE(setWallpaper(x.display(), kSecond));
  EXPECT_TRUE(eventually([&] { return corner() == kSecond; })) << "stale corners: " << screen("second");

  Process compositor(
      {"picom", "--backend", "xrender"},
      {.env = {{"DISPLAY", x.display()}}, .out = {}, .err = dir_ / "picom.log", .passFd = {}, .prefix = {}});
  EXPECT_TRUE(eventually([&] { return depth() == 32; })) << "no alpha visual under the compositor";
  EXPECT_TRUE(eventually([&] { return corner() == kSecond; })) << screen("composited");

  compositor.stop(SIGTERM);
  EXPECT_TRUE(eventually([&] { return depth() == 24; })) << "still an alpha visual without a compositor";
  EXPECT_TRUE(eventually([&] { return corner() == kSecond; })) << "black corners: " << screen("uncomposited");
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "");
}

}  // namespace
}  // namespace ostrel::display_test
