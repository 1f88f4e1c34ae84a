// The host under KWin (Plasma's compositor, virtual backend, one output at two pixels per point,
// screenshots through its screenshot service): layer surfaces in their corner below every window,
// out of the switcher, taskbar and pager, on every desktop, never active, showing what `render`
// draws at the output's scale.
#include "desktop/display/kwin.hpp"

#include <gtest/gtest.h>
#include <signal.h>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

class KwinHostTest : public HostFixture {};

TEST_F(KwinHostTest, LayerSurfacesStandBelowWindowsInTheirCornerAndShowWhatRenderDraws) {
  OSTREL_NEED_PROGRAM("kwin_wayland");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  constexpr int kScale = 2, kWidth = 1280, kHeight = 800;  // 640 × 400 points
  Kwin kwin(kWidth, kHeight, kScale, dir_);
  ASSERT_TRUE(kwin.ok()) << readFile(dir_ / "kwin.log");
  Image screen = kwin.screenshot();
  ASSERT_EQ(screen.width, kWidth) << readFile(dir_ / "kwin.log");
  const Rgb background = screen.at(kWidth - 1, kHeight - 1);
  Process host = startHost({"--corner", "bottom-left", "--scheme", "dark"},
                           {{"WAYLAND_DISPLAY", Kwin::socket()},
                            {"XDG_RUNTIME_DIR", kwin.runtimeDir().string()},
                            {"DBUS_SESSION_BUS_ADDRESS", kwin.busAddress()},
                            {"GDK_BACKEND", "wayland"}});

  struct Expected {
    const char* kind;
    WidgetFamily family;
    int x, y, width, height;  ///< points: margin 24 from the bottom-left corner, stacked upwards, gap 16
  };
  const Expected expected[] = {{"NextUp", WidgetFamily::systemSmall, 24, 206, 170, 170},
                               {"DueSoon", WidgetFamily::systemMedium, 24, 20, 364, 170}};
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.kind);
    const Image drawn = rendered(e.kind, e.family, ColorScheme::dark, kStartUtc, kScale, background);
    ASSERT_FALSE(drawn.empty());
    Image shown;
    Difference d;
    eventually([&] {
      shown = kwin.screenshot().crop(e.x * kScale, e.y * kScale, e.width * kScale, e.height * kScale);
      return (d = compare(shown, drawn)).similar();
    });
    EXPECT_TRUE(d.similar()) << "mean " << d.mean << ", outliers " << d.outliers << "; shown "
                             << keep(shown, e.kind) << ", rendered "
                             << keep(drawn, std::string(e.kind) + "-render") << "\n"
                             << hostErrors();
  }
  keep(kwin.screenshot(), "screen");

  // As KWin's scripts see the windows: layer 1 is the layer below ordinary windows.
  const std::vector<std::string> windows = kwin.windows(
      {"layer", "skipSwitcher", "skipTaskbar", "skipPager", "onAllDesktops", "active", "frameGeometry"});
  ASSERT_EQ(windows.size(), 2U) << readFile(dir_ / "kwin.log");
  for (std::size_t i = 0; i < 2; ++i) {
    const Expected& e = expected[i];
    EXPECT_EQ(windows[i], R"({"layer":1,"skipSwitcher":true,"skipTaskbar":true,"skipPager":true,)"
                          R"("onAllDesktops":true,"active":false,"frameGeometry":{"x":)" +
                              std::to_string(e.x) + R"(,"y":)" + std::to_string(e.y) + R"(,"width":)" +
                              std::to_string(e.width) + R"(,"height":)" + std::to_string(e.height) +
                              R"(,"left":)" + std::to_string(e.x) + R"(,"right":)" +
                              std::to_string(e.x + e.width) + R"(,"top":)" + std::to_string(e.y) +
                              R"(,"bottom":)" + std::to_string(e.y + e.height) + "}}");
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "") << "layer-shell is there: nothing to say";
}

}  // namespace
}  // namespace ostrel::display_test
