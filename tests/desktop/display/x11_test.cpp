// The host on an X server (Xvfb, no window manager, no compositor): where the windows stand, the
// hints that make them desktop widgets, what they show against `render`, and how they follow the
// entries, read by a screen reader over AT-SPI (the registry on the test's own bus).
#include <atspi/atspi.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "desktop/display/host_fixture.hpp"
#include "support/rows.hpp"

namespace ostrel::display_test {
namespace {

class X11PlacementTest : public X11Fixture, public ::testing::WithParamInterface<test_support::Row> {};

TEST_P(X11PlacementTest, WidgetsStandInTheirCornerAsDesktopWidgetsAndShowWhatRenderDraws) {
  std::vector<int> r;  // scale, then Next up's and Due soon's places
  for (std::size_t i = 1; i < GetParam().size(); ++i) r.push_back(std::stoi(GetParam()[i]));
  // A desktop of its own colour, which the corners outside the rounded shape must show.
  const Rgb desktop{40, 110, 160};
  ASSERT_TRUE(paintDesktop(x_->display(), desktop, false));
  Process host = startHost({"--corner", GetParam()[0], "--scheme", "light"},
                           {{"DISPLAY", x_->display()}, {"GDK_SCALE", std::to_string(r[0])}});
  for (const auto& [face, place] : {std::pair{kNextUp, 1}, {kDueSoon, 3}}) {
    SCOPED_TRACE(face.title);
    const std::optional<XWindow> w = awaitWindow(*x_, face.title);
    ASSERT_TRUE(w) << hostErrors();
    EXPECT_EQ(std::vector({w->x, w->y, w->width, w->height}),
              std::vector({r[place] * r[0], r[place + 1] * r[0], face.width * r[0], 170 * r[0]}));
    for (const char* hint : {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                             "_NET_WM_STATE_SKIP_PAGER", "Client accepts input or input focus: False",
                             "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x2, 0x0, 0x0"}) {
      EXPECT_TRUE(w->has(hint)) << hint
                                << ": never focused, undecorated, below, on every workspace, in no list";
    }
    shows([&] { return grabX11(x_->display(), w->x, w->y, w->width, w->height); },
          rendered(face, ColorScheme::light, kStartUtc, r[0], desktop), face.kind);
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "");
}

INSTANTIATE_TEST_SUITE_P(Corners, X11PlacementTest,
                         ::testing::ValuesIn(test_support::rows("desktop/x11_places.tsv")));

using X11HostTest = X11Fixture;

TEST_F(X11HostTest, EachWindowShowsAndIsNamedByItsFaceFromEntryToEntry) {
  OSTREL_NEED_PROGRAM("/usr/libexec/at-spi-bus-launcher");
  ASSERT_EQ(atspi_init(), 0);  // through the test's bus, which names itself in this process
  // Half a minute a second: a new minute entry every two seconds.
  Process host = startHost({"--speed", "30", "--scheme", "light"}, env_);
  const auto minuteShown = [&](const Shown& face) {
    const std::vector<std::string> names = accessibleNames(2);
    for (int m = 0; m < 60; ++m) {
      if (std::ranges::count(names, expectedReading(face, kStartUtc + 60 * m)) > 0) return m;
    }
    return -1;
  };
  int first = -1;
  ASSERT_TRUE(eventually(
      [&] {
        first = minuteShown(kNextUp);
        return first >= 0 && minuteShown(kDueSoon) >= 0;
      },
      60))
      << ::testing::PrintToString(accessibleNames(2)) << "\n"
      << hostErrors();
  int next = first;
  EXPECT_TRUE(eventually([&] { return (next = minuteShown(kNextUp)) != first; }));
  EXPECT_EQ(next, first + 1);
  // The window shows a face it is named by, drawn afresh as the entries come (neighbouring minutes
  // differ in a digit or two: each is similar to the other, but not equal).
  const std::optional<XWindow> w = awaitWindow(*x_, "Next up");
  ASSERT_TRUE(w);
  const auto grab = [&] { return grabX11(x_->display(), w->x, w->y, 170, 170); };
  std::vector<Image> later;
  for (int m = next; m < next + 8; ++m)
    later.push_back(rendered(kNextUp, ColorScheme::light, kStartUtc + 60 * m, 1));
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
