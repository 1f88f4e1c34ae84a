// The host on an X server (Xvfb, no window manager, no compositor): where the windows stand, the
// hints that make them desktop widgets, what they show against `render`, and how they follow the
// entries, read by a screen reader over AT-SPI (the registry on the test's own bus).
#include <atspi/atspi.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

struct PlacementRow {
  std::string corner;
  int scale;                         ///< GDK_SCALE: device pixels per point
  int nextUpX, nextUpY, dueX, dueY;  ///< points
};

class X11PlacementTest : public HostFixture, public ::testing::WithParamInterface<PlacementRow> {};

TEST_P(X11PlacementTest, WidgetsStandInTheirCornerAsDesktopWidgetsAndShowWhatRenderDraws) {
  OSTREL_NEED_PROGRAM("Xvfb");
  const PlacementRow& r = GetParam();
  Xvfb x(1280, 800, dir_);
  ASSERT_TRUE(x.ok()) << readFile(dir_ / "xvfb.log");
  // A desktop of its own colour, which the corners outside the rounded shape must show.
  const Rgb desktop{40, 110, 160};
  ASSERT_TRUE(paintDesktop(x.display(), desktop, false));
  Process host = startHost({"--corner", r.corner, "--scheme", "light"},
                           {{"DISPLAY", x.display()}, {"GDK_SCALE", std::to_string(r.scale)}});
  struct Expected {
    const char *title, *kind;
    WidgetFamily family;
    int width, x, y;
  };
  for (const Expected& e :
       {Expected{"Next up", "NextUp", WidgetFamily::systemSmall, 170, r.nextUpX, r.nextUpY},
        Expected{"Due soon", "DueSoon", WidgetFamily::systemMedium, 364, r.dueX, r.dueY}}) {
    SCOPED_TRACE(e.title);
    const std::optional<XWindow> w = awaitWindow(x, e.title);
    ASSERT_TRUE(w) << hostErrors();
    EXPECT_EQ(std::vector({w->x, w->y, w->width, w->height}),
              std::vector({e.x * r.scale, e.y * r.scale, e.width * r.scale, 170 * r.scale}));
    for (const char* hint : {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                             "_NET_WM_STATE_SKIP_PAGER", "Client accepts input or input focus: False",
                             "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x2, 0x0, 0x0"}) {
      EXPECT_TRUE(w->has(hint)) << hint
                                << ": never focused, undecorated, below, on every workspace, in no list";
    }
    shows([&] { return grabX11(x.display(), w->x, w->y, w->width, w->height); },
          rendered(e.kind, e.family, ColorScheme::light, kStartUtc, r.scale, desktop), e.kind);
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "");
}

// Screen 1280 × 800 pixels; margin 24, gap 16; Next up 170 × 170 first, Due soon 364 × 170 after it.
INSTANTIATE_TEST_SUITE_P(Corners, X11PlacementTest,
                         ::testing::Values(PlacementRow{"top-right", 1, 1086, 24, 892, 210},
                                           PlacementRow{"bottom-left", 1, 24, 606, 24, 420},
                                           // 640 × 400 points at two pixels per point.
                                           PlacementRow{"top-right", 2, 446, 24, 252, 210}));

class X11HostTest : public HostFixture {};

TEST_F(X11HostTest, EachWindowShowsAndIsNamedByItsFaceFromEntryToEntry) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  OSTREL_NEED_PROGRAM("/usr/libexec/at-spi-bus-launcher");
  Xvfb x(1280, 800, dir_);
  Bus bus;
  ASSERT_TRUE(x.ok() && bus.ok());
  ASSERT_EQ(atspi_init(), 0);  // through the test's bus, which names itself in this process
  // Half a minute a second: a new minute entry every two seconds.
  Process host = startHost({"--speed", "30", "--scheme", "light"},
                           {{"DISPLAY", x.display()}, {"DBUS_SESSION_BUS_ADDRESS", bus.address()}});
  const auto minuteShown = [&](const std::string& kind, WidgetFamily family) {
    const std::vector<std::string> names = accessibleNames(2);
    for (int m = 0; m < 60; ++m) {
      if (std::find(names.begin(), names.end(), expectedReading(kind, family, kStartUtc + 60 * m)) !=
          names.end())
        return m;
    }
    return -1;
  };
  int first = -1;
  ASSERT_TRUE(eventually(
      [&] {
        first = minuteShown("NextUp", WidgetFamily::systemSmall);
        return first >= 0 && minuteShown("DueSoon", WidgetFamily::systemMedium) >= 0;
      },
      60))
      << ::testing::PrintToString(accessibleNames(2)) << "\n"
      << hostErrors();
  EXPECT_EQ(expectedReading("NextUp", WidgetFamily::systemSmall, kStartUtc),
            "Next up: FINC3600, Lecture, in 40 min, ABS Lecture Theatre 1010");
  int next = first;
  EXPECT_TRUE(eventually([&] { return (next = minuteShown("NextUp", WidgetFamily::systemSmall)) != first; }));
  EXPECT_EQ(next, first + 1);
  // The window shows a face it is named by, drawn afresh as the entries come (neighbouring minutes
  // differ in a digit or two: each is similar to the other, but not equal).
  const std::optional<XWindow> w = awaitWindow(x, "Next up");
  ASSERT_TRUE(w);
  const auto grab = [&] { return grabX11(x.display(), w->x, w->y, 170, 170); };
  std::vector<Image> later;
  for (int m = next; m < next + 8; ++m)
    later.push_back(rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::light, kStartUtc + 60 * m, 1));
  Image shown = grab();
  EXPECT_TRUE(eventually([&] {
    return std::any_of(later.begin(), later.end(),
                       [&](const Image& i) { return compare(shown = grab(), i).similar(); });
  })) << keep(shown, "shown");
  EXPECT_TRUE(eventually([&] { return !(grab() == shown); }, 20)) << "not drawn again for the next entry";
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

}  // namespace
}  // namespace ostrel::display_test
