// The host on a Wayland compositor with layer-shell (sway, headless, one output at two pixels per
// point, screenshots by grim): the widgets are layer surfaces anchored in their corner, transparent
// outside their rounded shape, and show what `render` draws at the output's scale. On one without
// (weston, headless) they fall back to ordinary windows, and the host says so once. Dragged, a layer
// surface moves and keeps its place.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

class WaylandHostTest : public HostFixture {};

TEST_F(WaylandHostTest, LayerSurfacesStandInTheirCornerAndShowWhatRenderDraws) {
  OSTREL_NEED_PROGRAM("sway");
  OSTREL_NEED_PROGRAM("grim");
  constexpr int kScale = 2, kWidth = 1280, kHeight = 800;  // 640 × 400 points
  Sway sway(kWidth, kHeight, kScale, dir_);
  ASSERT_TRUE(sway.ok()) << readFile(dir_ / "sway.log");
  const std::map<std::string, std::string> wayland{{"WAYLAND_DISPLAY", sway.socket()},
                                                   {"XDG_RUNTIME_DIR", sway.runtimeDir().string()},
                                                   {"GDK_BACKEND", "wayland"}};
  Process host = startHost({"--corner", "bottom-left", "--scheme", "dark"}, wayland);

  const auto screenshot = [&] {
    const auto png = dir_ / "screen.png";
    Process grim({"grim", png.string()},
                 {.env = wayland, .out = {}, .err = dir_ / "grim.err", .passFd = {}, .prefix = {}});
    return grim.wait(30) == 0 ? loadPng(png) : Image{};
  };
  // Sway's own background, far from the widgets.
  Image screen = screenshot();
  ASSERT_EQ(screen.width, kWidth) << readFile(dir_ / "grim.err");
  const Rgb background = screen.at(kWidth - 1, kHeight - 1);

  struct Expected {
    const char* kind;
    WidgetFamily family;
    int x, y, width, height;  ///< points: margin 24 from the bottom-left corner, stacked upwards, gap 16
  };
  for (const Expected& e : {Expected{"NextUp", WidgetFamily::systemSmall, 24, 206, 170, 170},
                            Expected{"DueSoon", WidgetFamily::systemMedium, 24, 20, 364, 170}}) {
    SCOPED_TRACE(e.kind);
    const Image expected = rendered(e.kind, e.family, ColorScheme::dark, kStartUtc, kScale, background);
    ASSERT_FALSE(expected.empty());
    Image shown;
    Difference d;
    eventually([&] {
      shown = screenshot().crop(e.x * kScale, e.y * kScale, e.width * kScale, e.height * kScale);
      return (d = compare(shown, expected)).similar();
    });
    EXPECT_TRUE(d.similar()) << "mean " << d.mean << ", outliers " << d.outliers << "; shown "
                             << keep(shown, e.kind) << ", rendered "
                             << keep(expected, std::string(e.kind) + "-render") << "\n"
                             << hostErrors();
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "") << "layer-shell is there: nothing to say";
}

TEST_F(WaylandHostTest, AMonitorNamedByItsConnectorGetsTheWidgetsAndTheAutostartEntryNamesIt) {
  OSTREL_NEED_PROGRAM("sway");
  OSTREL_NEED_PROGRAM("grim");
  constexpr int kWidth = 640, kHeight = 400;  // two outputs side by side, HEADLESS-2 on the right
  Sway sway(kWidth, kHeight, 1, dir_, 2);
  ASSERT_TRUE(sway.ok()) << readFile(dir_ / "sway.log");
  const std::map<std::string, std::string> wayland{{"WAYLAND_DISPLAY", sway.socket()},
                                                   {"XDG_RUNTIME_DIR", sway.runtimeDir().string()},
                                                   {"GDK_BACKEND", "wayland"}};
  const auto png = dir_ / "screen.png";
  ASSERT_EQ(runToEnd({"grim", png.string()}, wayland, dir_ / "grim.err"), 0) << readFile(dir_ / "grim.err");
  const Rgb background = loadPng(png).at(2 * kWidth - 1, kHeight - 1);
  Process host = startHost({"--widget", "NextUp:systemSmall", "--monitor", "HEADLESS-2", "--corner",
                            "top-left", "--scheme", "light"},
                           wayland);
  const Image expected =
      rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::light, kStartUtc, 1, background);
  Image shown;
  Difference d;
  eventually([&] {
    shown = runToEnd({"grim", png.string()}, wayland) == 0 ? loadPng(png).crop(kWidth + 24, 24, 170, 170)
                                                           : Image{};
    return (d = compare(shown, expected)).similar();
  });
  EXPECT_TRUE(d.similar()) << "mean " << d.mean << ", outliers " << d.outliers << "; shown "
                           << keep(shown, "shown") << "\n"
                           << hostErrors();
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "");

  Process install = startHost({"--monitor", "1", "--install-autostart"}, wayland);
  ASSERT_EQ(install.wait(30), 0) << hostErrors();
  EXPECT_NE(readFile(dir_ / "config" / "autostart" / "ostrel-widgets.desktop").find(" --monitor HEADLESS-2 "),
            std::string::npos);
}

TEST_F(WaylandHostTest, ADraggedLayerSurfaceMovesAndStandsThereAtTheNextStartFromAnyCorner) {
  OSTREL_NEED_PROGRAM("sway");
  OSTREL_NEED_PROGRAM("grim");
  constexpr int kWidth = 640, kHeight = 400;
  Sway sway(kWidth, kHeight, 1, dir_);
  ASSERT_TRUE(sway.ok()) << readFile(dir_ / "sway.log");
  const std::map<std::string, std::string> wayland{{"WAYLAND_DISPLAY", sway.socket()},
                                                   {"XDG_RUNTIME_DIR", sway.runtimeDir().string()},
                                                   {"GDK_BACKEND", "wayland"}};
  const auto png = dir_ / "screen.png";
  ASSERT_EQ(runToEnd({"grim", png.string()}, wayland, dir_ / "grim.err"), 0) << readFile(dir_ / "grim.err");
  const Image expected = rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::light, kStartUtc, 1,
                                  loadPng(png).at(kWidth - 1, kHeight - 1));
  const auto shownAt = [&](int x, int y) {
    Image shown;
    Difference d;
    eventually([&] {
      shown = runToEnd({"grim", png.string()}, wayland) == 0 ? loadPng(png).crop(x, y, 170, 170) : Image{};
      return (d = compare(shown, expected)).similar();
    });
    EXPECT_TRUE(d.similar()) << "at " << x << "," << y << ": mean " << d.mean << ", outliers " << d.outliers
                             << "; shown " << keep(shown, "shown") << "\n"
                             << hostErrors();
  };
  const auto start = [&](const char* corner) {
    return startHost({"--widget", "NextUp:systemSmall", "--corner", corner, "--scheme", "light"}, wayland);
  };
  Process host = start("top-left");
  shownAt(24, 24);
  // Pressed at 100,100, moved by 100,60 and released.
  ASSERT_EQ(runToEnd({OSTREL_VIRTUAL_POINTER, "640", "400", "100", "100", "100", "60"}, wayland,
                     dir_ / "pointer.err"),
            0)
      << readFile(dir_ / "pointer.err");
  shownAt(124, 84);
  EXPECT_TRUE(eventually([&] {
    return readFile(dir_ / "config" / "ostrel-widgets" / "places.conf").find("x=124\ny=84") !=
           std::string::npos;
  })) << readFile(dir_ / "config" / "ostrel-widgets" / "places.conf");
  EXPECT_EQ(host.stop(SIGTERM), 0);
  host = start("bottom-right");
  shownAt(124, 84);
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "");
}

TEST_F(WaylandHostTest, WithoutLayerShellTheWidgetsAreOrdinaryWindowsAndTheHostSaysSoOnce) {
  OSTREL_NEED_PROGRAM("weston");
  Weston weston(dir_);
  ASSERT_TRUE(weston.ok()) << readFile(dir_ / "weston.log");
  Process host = startHost({}, {{"WAYLAND_DISPLAY", weston.socket()},
                                {"XDG_RUNTIME_DIR", weston.runtimeDir().string()},
                                {"GDK_BACKEND", "wayland"}});
  const std::string notice =
      "ostrel-widgets: this compositor offers no layer-shell: the widgets are ordinary windows, placed by "
      "the "
      "compositor\n";
  ASSERT_TRUE(eventually([&] { return hostErrors().find(notice) != std::string::npos; })) << hostErrors();
  ::usleep(500'000);  // long enough for a second notice, were there one
  EXPECT_TRUE(host.running());
  EXPECT_EQ(host.stop(SIGTERM), 0);
  const std::string errors = hostErrors();
  EXPECT_EQ(errors.find(notice), errors.rfind(notice)) << errors;
}

}  // namespace
}  // namespace ostrel::display_test
