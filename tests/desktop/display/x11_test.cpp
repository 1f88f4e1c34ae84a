// The host on an X server (Xvfb, no window manager, no compositor): where the windows stand, the
// hints that make them desktop widgets, what they show against `render`, and how the host ends.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <map>

#include "desktop/display/host_fixture.hpp"
#include "desktop/display/x11_windows.hpp"

namespace ostrel::display_test {
namespace {

constexpr int kScreenWidth = 1280, kScreenHeight = 800;

class X11HostTest : public HostFixture {
 protected:
  /// Waits for the window called `name` to be viewable.
  std::optional<XWindow> awaitWindow(const Xvfb& x, const std::string& name) {
    std::optional<XWindow> w;
    eventually([&] { return (w = findWindow(x.display(), name)).has_value(); });
    return w;
  }
  /// Waits for what `w` shows to look like `expected`; the last difference.
  Difference awaitPicture(const Xvfb& x, const XWindow& w, const Image& expected, Image* shown = nullptr) {
    Difference d;
    Image last;
    eventually([&] {
      last = grabX11(x.display(), w.x, w.y, w.width, w.height);
      d = compare(last, expected);
      return d.similar();
    });
    if (shown != nullptr) *shown = last;
    return d;
  }
};

struct PlacementRow {
  std::string corner;
  int scale;                         ///< GDK_SCALE: device pixels per point
  int nextUpX, nextUpY, dueX, dueY;  ///< points
};

class X11PlacementTest : public X11HostTest, public ::testing::WithParamInterface<PlacementRow> {};

TEST_P(X11PlacementTest, WidgetsStandInTheirCornerAsDesktopWidgetsAndShowWhatRenderDraws) {
  OSTREL_NEED_PROGRAM("Xvfb");
  const PlacementRow& r = GetParam();
  Xvfb x(kScreenWidth, kScreenHeight, dir_);
  ASSERT_TRUE(x.ok()) << readFile(dir_ / "xvfb.log");
  // A desktop of its own colour, which the corners outside the rounded shape must show.
  const Rgb desktop{40, 110, 160};
  ASSERT_TRUE(paintDesktop(x.display(), desktop));
  Process host = startHost({"--corner", r.corner, "--scheme", "light"},
                           {{"DISPLAY", x.display()}, {"GDK_SCALE", std::to_string(r.scale)}});

  struct Expected {
    const char* title;
    const char* kind;
    WidgetFamily family;
    int width, height, x, y;
  };
  for (const Expected& e :
       {Expected{"Next up", "NextUp", WidgetFamily::systemSmall, 170, 170, r.nextUpX, r.nextUpY},
        Expected{"Due soon", "DueSoon", WidgetFamily::systemMedium, 364, 170, r.dueX, r.dueY}}) {
    SCOPED_TRACE(e.title);
    const std::optional<XWindow> w = awaitWindow(x, e.title);
    ASSERT_TRUE(w) << hostErrors();
    EXPECT_EQ(w->width, e.width * r.scale);
    EXPECT_EQ(w->height, e.height * r.scale);
    EXPECT_EQ(w->x, e.x * r.scale);
    EXPECT_EQ(w->y, e.y * r.scale);
    for (const char* state : {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                              "_NET_WM_STATE_SKIP_PAGER"}) {
      EXPECT_NE(std::find(w->states.begin(), w->states.end(), state), w->states.end()) << state;
    }
    EXPECT_EQ(w->input, false) << "the window must never take keyboard focus";
    EXPECT_EQ(w->decorations, 0) << "the window must ask for no decoration";

    // No compositor here: the corners outside the rounded shape show what the desktop showed.
    const Image expected = rendered(e.kind, e.family, ColorScheme::light, kStartUtc, r.scale, desktop);
    ASSERT_FALSE(expected.empty());
    Image shown;
    const Difference d = awaitPicture(x, *w, expected, &shown);
    EXPECT_TRUE(d.similar()) << "mean " << d.mean << ", outliers " << d.outliers << "; shown "
                             << keep(shown, e.kind) << ", rendered "
                             << keep(expected, std::string(e.kind) + "-render");
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

TEST_F(X11HostTest, AtSpeedTheWindowShowsTheNextEntryAtItsDate) {
  OSTREL_NEED_PROGRAM("Xvfb");
  Xvfb x(kScreenWidth, kScreenHeight, dir_);
  ASSERT_TRUE(x.ok());
  // Twenty times real time: the countdown's minute entries come every three seconds. The host's
  // clock starts after `started`, so the minute it shows is at most the minutes since then.
  const double started = monotonic();
  Process host = startHost({"--widget", "NextUp:systemSmall", "--scheme", "light", "--speed", "20"},
                           {{"DISPLAY", x.display()}});
  const std::optional<XWindow> w = awaitWindow(x, "Next up");
  ASSERT_TRUE(w) << hostErrors();
  const auto latestMinute = [&] { return static_cast<int>((monotonic() - started) * 20 / 60); };

  // The faces of the minute entries from the start on, drawn when first needed. Neighbouring
  // minutes differ in a digit or two: the shown face is the closest one, if it is close.
  std::map<int, Image> minutes;
  const auto minute = [&](int m) -> const Image& {
    auto [at, added] = minutes.try_emplace(m);
    if (added)
      at->second = rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::light, kStartUtc + 60 * m, 1);
    return at->second;
  };
  const auto whichMinute = [&](const Image& shown, int from, int to) {
    int best = -1;
    double bestOutliers = 1;
    for (int m = std::max(from, 0); m <= to; ++m) {
      const Difference d = compare(shown, minute(m));
      if (d.similar() && d.outliers < bestOutliers) {
        best = m;
        bestOutliers = d.outliers;
      }
    }
    return best;
  };
  const auto grab = [&] { return grabX11(x.display(), w->x, w->y, 170, 170); };
  const auto blank = [](const Image& image) {
    return image.empty() || std::all_of(image.pixels.begin(), image.pixels.end(),
                                        [&](Rgb p) { return p == image.pixels.front(); });
  };
  // However long the host took to start (the machine may be busy), find the minute it shows: one
  // of the last few before the grab, else (a slow start) one of the ten before those.
  int first = -1;
  Image shown;
  eventually(
      [&] {
        const int latest = latestMinute();
        shown = grab();
        if (blank(shown)) return false;  // not drawn yet
        first = whichMinute(shown, latest - 3, latest);
        if (first < 0) first = whichMinute(shown, latest - 13, latest - 4);
        return first >= 0;
      },
      60);
  ASSERT_GE(first, 0) << keep(shown, "first") << "\n" << hostErrors();

  // Draw the next minutes before watching (drawing takes time), then start from what the window
  // shows now: the first change after that must show the following minute.
  for (int m = first + 1; m <= first + 4; ++m) static_cast<void>(minute(m));
  for (Image now = grab(); !(now == shown) && first >= 0; now = grab()) {
    shown = now;
    first = whichMinute(shown, first, first + 4);
  }
  ASSERT_GE(first, 0) << keep(shown, "first");
  Image next;
  eventually([&] { return !((next = grab()) == shown); }, 30);
  EXPECT_EQ(whichMinute(next, first, first + 3), first + 1) << keep(next, "next");
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

enum class Ending { sigint, sigterm, closeWindow };

class X11EndingTest : public X11HostTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(X11EndingTest, EndsWithStatusZero) {
  OSTREL_NEED_PROGRAM("Xvfb");
  Xvfb x(kScreenWidth, kScreenHeight, dir_);
  ASSERT_TRUE(x.ok());
  Process host = startHost({}, {{"DISPLAY", x.display()}});
  const std::optional<XWindow> w = awaitWindow(x, "Due soon");
  ASSERT_TRUE(w) << hostErrors();
  switch (GetParam()) {
    case Ending::sigint:
      EXPECT_EQ(host.stop(SIGINT), 0);
      break;
    case Ending::sigterm:
      EXPECT_EQ(host.stop(SIGTERM), 0);
      break;
    case Ending::closeWindow:
      ASSERT_TRUE(askToClose(x.display(), w->id));
      EXPECT_EQ(host.wait(15), 0);
      break;
  }
  EXPECT_EQ(hostErrors(), "");
}

INSTANTIATE_TEST_SUITE_P(Endings, X11EndingTest,
                         ::testing::Values(Ending::sigint, Ending::sigterm, Ending::closeWindow));

}  // namespace
}  // namespace ostrel::display_test
