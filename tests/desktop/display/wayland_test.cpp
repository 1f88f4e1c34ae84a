// The host on a Wayland compositor with layer-shell (sway, headless, screenshots by grim): the
// widgets are layer surfaces anchored in their corner of the monitor asked for, transparent outside
// their rounded shape, and show what `render` draws at the output's scale; dragged, a layer surface
// moves and keeps its place. On a compositor without layer-shell (weston, headless) they fall back
// to ordinary windows, and the host says so once.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

class WaylandHostTest : public HostFixture {
 protected:
  /// The screen as grim takes it.
  Image screenshot(const Compositor& c) {
    const auto png = dir_ / "screen.png";
    return runToEnd({"grim", png.string()}, c.env(), dir_ / "grim.err") == 0 ? loadPng(png) : Image{};
  }
};

TEST_F(WaylandHostTest, LayerSurfacesStandInTheirCornerAndShowWhatRenderDraws) {
  OSTREL_NEED_PROGRAM("sway");
  OSTREL_NEED_PROGRAM("grim");
  constexpr int kScale = 2;  // 1280 × 800 pixels, 640 × 400 points
  const Compositor sway = Compositor::sway(1280, 800, kScale, dir_);
  ASSERT_TRUE(sway.ok()) << readFile(dir_ / "sway.log");
  const Image screen = screenshot(sway);
  ASSERT_EQ(screen.width, 1280) << readFile(dir_ / "grim.err");
  const Rgb background = screen.at(1279, 799);  // sway's own, far from the widgets
  Process host = startHost({"--corner", "bottom-left", "--scheme", "dark"}, sway.env());
  struct Expected {
    const char* kind;
    WidgetFamily family;
    int y, width;  ///< points: margin 24 from the bottom-left corner, stacked upwards, gap 16
  };
  for (const Expected& e : {Expected{"NextUp", WidgetFamily::systemSmall, 206, 170},
                            Expected{"DueSoon", WidgetFamily::systemMedium, 20, 364}}) {
    shows([&] { return screenshot(sway).crop(24 * kScale, e.y * kScale, e.width * kScale, 170 * kScale); },
          rendered(e.kind, e.family, ColorScheme::dark, kStartUtc, kScale, background), e.kind);
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "") << "layer-shell is there: nothing to say";
}

TEST_F(WaylandHostTest, OnTheMonitorNamedADraggedLayerSurfaceMovesAndStandsThereAtTheNextStart) {
  OSTREL_NEED_PROGRAM("sway");
  OSTREL_NEED_PROGRAM("grim");
  const Compositor sway = Compositor::sway(640, 400, 1, dir_, 2);  // HEADLESS-2 right of HEADLESS-1
  ASSERT_TRUE(sway.ok()) << readFile(dir_ / "sway.log");
  const Image screen = screenshot(sway);
  ASSERT_EQ(screen.width, 1280) << readFile(dir_ / "grim.err");
  const Image expected =
      rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::light, kStartUtc, 1, screen.at(1279, 399));
  const auto start = [&](const char* corner) {
    return startHost({"--widget", "NextUp:systemSmall", "--monitor", "HEADLESS-2", "--corner", corner,
                      "--scheme", "light"},
                     sway.env());
  };
  const auto shownAt = [&](int x, int y) {
    return shows([&] { return screenshot(sway).crop(x, y, 170, 170); }, expected, "at " + std::to_string(x));
  };
  Process host = start("top-left");
  ASSERT_TRUE(shownAt(640 + 24, 24));
  // Pressed at 100,100 of the widget, moved by 100,60 and released.
  ASSERT_EQ(runToEnd({OSTREL_VIRTUAL_POINTER, "1280", "400", "764", "124", "100", "60"}, sway.env(),
                     dir_ / "pointer.err"),
            0)
      << readFile(dir_ / "pointer.err");
  shownAt(640 + 124, 84);
  const auto places = dir_ / "config" / "ostrel-widgets" / "places.conf";
  EXPECT_TRUE(eventually([&] { return readFile(places).find("x=764\ny=84") != std::string::npos; }))
      << readFile(places);
  EXPECT_EQ(host.stop(SIGTERM), 0);
  host = start("bottom-right");
  shownAt(640 + 124, 84);
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "");

  // The autostart entry names the monitor by its connector, which re-plugging does not change.
  Process install = startHost({"--monitor", "1", "--install-autostart"}, sway.env());
  ASSERT_EQ(install.wait(30), 0) << hostErrors();
  EXPECT_NE(readFile(dir_ / "config" / "autostart" / "ostrel-widgets.desktop").find(" --monitor HEADLESS-2 "),
            std::string::npos);
}

TEST_F(WaylandHostTest, WithoutLayerShellTheWidgetsAreOrdinaryWindowsAndTheHostSaysSoOnce) {
  OSTREL_NEED_PROGRAM("weston");
  const Compositor weston = Compositor::weston(dir_);
  ASSERT_TRUE(weston.ok()) << readFile(dir_ / "weston.log");
  Process host = startHost({}, weston.env());
  const std::string notice =
      "ostrel-widgets: this compositor offers no layer-shell: the widgets are ordinary windows, placed by "
      "the "
      "compositor\n";
  ASSERT_TRUE(eventually([&] { return hostErrors().find(notice) != std::string::npos; })) << hostErrors();
  ::usleep(500'000);  // long enough for a second notice, were there one
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors().find(notice), hostErrors().rfind(notice)) << hostErrors();
}

}  // namespace
}  // namespace ostrel::display_test
