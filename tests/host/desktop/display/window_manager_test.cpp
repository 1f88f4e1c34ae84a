// The host under real X11 window managers (Openbox, xfwm4 on Xvfb), beside a file manager's
// desktop window and an ordinary application's window: the widgets stay on the desktop whatever
// the user does to the windows around them.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "host/desktop/display/host_fixture.hpp"
#include "host/desktop/display/x11_windows.hpp"

namespace ostrel::display_test {
namespace {

constexpr Rgb kDesktop{40, 110, 160}, kOther{220, 30, 30};

class WindowManagerTest : public HostFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  /// Runs a command line against the display; its exit status.
  int run(const std::vector<std::string>& argv) {
    Process p(argv, {.env = {{"DISPLAY", x_->display()}},
                     .out = {},
                     .err = dir_ / "tool.err",
                     .passFd = {},
                     .prefix = {}});
    return p.wait(30).value_or(-1);
  }
  /// Starts Xvfb and the window manager of the test's row, then a desktop window over the root.
  bool startSession() {
    x_ = std::make_unique<Xvfb>(1280, 800, dir_);
    if (!x_->ok()) return false;
    wm_ = Process(
        {GetParam()},
        {.env = {{"DISPLAY", x_->display()}}, .out = {}, .err = dir_ / "wm.log", .passFd = {}, .prefix = {}});
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
    ASSERT_EQ(run(step.command), 0) << readFile(dir_ / "tool.err");
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

INSTANTIATE_TEST_SUITE_P(Managers, WindowManagerTest, ::testing::Values("openbox", "xfwm4"));

}  // namespace
}  // namespace ostrel::display_test
