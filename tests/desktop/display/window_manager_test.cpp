// The host under real X11 window managers (Openbox, xfwm4 on Xvfb), beside a file manager's
// desktop window and an ordinary application's window: the widgets stay on the desktop whatever
// the user does to the windows around them, and when another manager takes over; their corners
// follow the wallpaper and a compositor that comes and goes.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

constexpr Rgb kDesktop{40, 110, 160}, kOther{220, 30, 30};

/// The manager running first, and the one that replaces it.
using Handover = std::pair<const char*, const char*>;
class WindowManagerTest : public X11Fixture, public ::testing::WithParamInterface<Handover> {};

TEST_P(WindowManagerTest, TheWidgetStaysShownBelowUnfocusedAndOnEveryWorkspaceAcrossAHandover) {
  const auto [firstManager, secondManager] = GetParam();
  for (const char* program : {firstManager, secondManager, "wmctrl", "xdotool"}) OSTREL_NEED_PROGRAM(program);
  const std::string& d = x_->display();
  const Process::Options options{.env = env_, .out = {}, .err = dir_ / "wm.log", .passFd = {}, .prefix = {}};
  Process first({firstManager}, options);
  ASSERT_TRUE(eventually([&] { return runToEnd({"wmctrl", "-m"}, env_) == 0; })) << readFile(dir_ / "wm.log");
  // A window mapped while the manager is still starting can be missed by it: map again.
  std::unique_ptr<PlainWindow> desktop;
  for (int attempt = 0; attempt < 4 && pixelAt(d, 300, 300) != kDesktop; ++attempt) {
    desktop = std::make_unique<PlainWindow>(d, 0, 0, 1280, 800, kDesktop, true);
    eventually([&] { return pixelAt(d, 300, 300) == kDesktop; }, 3);
  }
  ASSERT_EQ(pixelAt(d, 300, 300), kDesktop);
  Process host = startHost({"--widget", "NextUp:systemSmall", "--scheme", "light"}, env_);
  // The widget stands at 1086–1256 × 24–194; the other window covers its left part.
  const std::optional<XWindow> w = awaitWindow(*x_, "Next up");
  ASSERT_TRUE(w) << hostErrors();
  Rgb face;
  ASSERT_TRUE(eventually([&] { return (face = pixelAt(d, 1200, 100)) != kDesktop; }));
  const PlainWindow other(d, 950, 0, 200, 300, kOther, false);
  ASSERT_TRUE(eventually([&] { return pixelAt(d, 1100, 100) == kOther; }));

  for (const std::vector<std::string>& step :
       {std::vector<std::string>{"xdotool", "mousemove", "1200", "100", "click", "1"},
        {"xdotool", "mousemove", "300", "300", "click", "1"},
        {"wmctrl", "-k", "on"}}) {
    SCOPED_TRACE(step.back());
    ASSERT_EQ(runToEnd(step, env_), 0);
    ::usleep(700'000);  // the window manager's answer, were there a wrong one
    EXPECT_EQ(pixelAt(d, 1200, 100), face)
        << "the widget is hidden: " << keep(grabX11(d, 0, 0, 1280, 800), "screen");
    if (step[0] == "xdotool") {
      EXPECT_EQ(pixelAt(d, 1100, 100), kOther) << "the widget rose over another window";
    }
    EXPECT_NE(activeWindow(d), w->id) << "the widget took the focus";
  }
  const auto standsRight = [&] {
    const auto now = findWindow(d, "Next up");
    return now && now->has("_NET_WM_STATE_BELOW") && now->has("_NET_WM_DESKTOP(CARDINAL) = 4294967295");
  };
  ASSERT_TRUE(standsRight());
  Process second({secondManager, "--replace"}, options);
  ASSERT_TRUE(first.wait(15)) << "the first manager did not hand over";
  EXPECT_TRUE(eventually(standsRight, 10)) << "the new manager does not keep it sticky and below";
  ASSERT_EQ(runToEnd({"wmctrl", "-s", "1"}, env_), 0);
  EXPECT_TRUE(eventually([&] { return findWindow(d, "Next up").has_value(); }, 5))
      << "gone from the next workspace";
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

INSTANTIATE_TEST_SUITE_P(Managers, WindowManagerTest,
                         ::testing::Values(Handover{"xfwm4", "xfwm4"}, Handover{"openbox", "xfwm4"},
                                           Handover{"xfwm4", "openbox"}),
                         [](const auto& row) {
                           return std::string(row.param.first) + "To" + row.param.second;
                         });

using DesktopChangesTest = X11Fixture;

TEST_F(DesktopChangesTest, TheCornersShowTheWallpaperAsItChangesAndAsACompositorComesAndGoes) {
  OSTREL_NEED_PROGRAM("picom");
  constexpr Rgb kFirst{40, 110, 160}, kSecond{200, 120, 30};
  ASSERT_TRUE(paintDesktop(x_->display(), kFirst, true));
  Process host =
      startHost({"--widget", "NextUp:systemSmall", "--scheme", "light"}, {{"DISPLAY", x_->display()}});
  const std::optional<XWindow> w = awaitWindow(*x_, "Next up");
  ASSERT_TRUE(w) << hostErrors();
  // The outermost pixel of the rounded shape's corner: outside it, the desktop shows.
  const auto corner = [&] { return pixelAt(x_->display(), w->x + 1, w->y + 1); };
  const auto depth = [&] {
    const auto now = findWindow(x_->display(), "Next up");
    return now ? now->depth : 0;
  };
  const auto screen = [&](const std::string& name) {
    return keep(grabX11(x_->display(), w->x, w->y, 170, 170), name);
  };
  ASSERT_TRUE(eventually([&] { return corner() == kFirst; })) << screen("first");
  ASSERT_TRUE(paintDesktop(x_->display(), kSecond, true));
  EXPECT_TRUE(eventually([&] { return corner() == kSecond; })) << "stale corners: " << screen("second");

  Process compositor({"picom", "--backend", "xrender"}, {.env = {{"DISPLAY", x_->display()}},
                                                         .out = {},
                                                         .err = dir_ / "picom.log",
                                                         .passFd = {},
                                                         .prefix = {}});
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
