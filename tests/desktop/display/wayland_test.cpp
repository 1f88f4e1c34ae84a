// The host on a Wayland compositor with layer-shell (sway, headless, two outputs at two pixels per
// point, screenshots by grim): the widgets are layer surfaces anchored in their corner of the
// monitor asked for, transparent outside their rounded shape, and show what `render` draws at the
// output's scale; dragged, a layer surface moves and keeps its place. On a compositor without layer-shell (weston, headless) they fall back
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

TEST_F(WaylandHostTest,
       OnTheMonitorNamedLayerSurfacesShowWhatRenderDrawsAndWhenDraggedMoveAndStandThereAtTheNextStart) {
  OSTREL_NEED_PROGRAM("sway");
  OSTREL_NEED_PROGRAM("grim");
  // HEADLESS-2 right of HEADLESS-1, each 1280 × 800 pixels, 640 × 400 points.
  constexpr int kScale = 2;
  const Compositor sway = Compositor::sway(1280, 800, kScale, dir_, 2);
  ASSERT_TRUE(sway.ok()) << readFile(dir_ / "sway.log");
  const Image screen = screenshot(sway);
  ASSERT_EQ(screen.width, 2 * 1280) << readFile(dir_ / "grim.err");
  const Rgb background = screen.at(2 * 1280 - 1, 799);  // sway's own, far from the widgets
  const auto start = [&](const char* corner, const char* scheme, std::vector<std::string> args) {
    args.insert(args.end(), {"--monitor", "HEADLESS-2", "--corner", corner, "--scheme", scheme});
    return startHost(args, sway.env());
  };
  // Whether `face` comes to stand at `x`, `y` (points in the layout) as `render` draws it.
  const auto shownAt = [&](const Shown& face, ColorScheme scheme, int x, int y) {
    return shows(
        [&] { return screenshot(sway).crop(x * kScale, y * kScale, face.width * kScale, 170 * kScale); },
        rendered(face, scheme, kStartUtc, kScale, background), face.kind + std::to_string(x));
  };
  // Margin 24 from the bottom-left corner, stacked upwards, gap 16.
  Process host = start("bottom-left", "dark", {});
  shownAt(kNextUp, ColorScheme::dark, 640 + 24, 206);
  shownAt(kDueSoon, ColorScheme::dark, 640 + 24, 20);
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "") << "layer-shell is there: nothing to say";

  host = start("top-left", "light", {"--widget", "NextUp:systemSmall"});
  ASSERT_TRUE(shownAt(kNextUp, ColorScheme::light, 640 + 24, 24));
  // Pressed at 100,100 of the widget, moved by 100,60 and released.
  ASSERT_EQ(runToEnd({OSTREL_VIRTUAL_POINTER, "1280", "400", "764", "124", "100", "60"}, sway.env(),
                     dir_ / "pointer.err"),
            0)
      << readFile(dir_ / "pointer.err");
  shownAt(kNextUp, ColorScheme::light, 640 + 124, 84);
  const auto places = dir_ / "config" / "ostrel-widgets" / "places.conf";
  EXPECT_TRUE(eventually([&] { return readFile(places).find("x=764\ny=84") != std::string::npos; }))
      << readFile(places);
  EXPECT_EQ(host.stop(SIGTERM), 0);
  host = start("bottom-right", "light", {"--widget", "NextUp:systemSmall"});
  shownAt(kNextUp, ColorScheme::light, 640 + 124, 84);
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
