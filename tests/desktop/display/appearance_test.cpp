// The host follows the desktop's appearance: the colour-scheme setting of the appearance portal
// (a stand-in on the test's own bus) picks the scheme at start, and a change of it redraws the
// windows at once without a new timeline (the feed is not read again).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

struct SwitchRow {
  int portalAtStart;  ///< the portal's color-scheme value when the host starts
  ColorScheme before;
  int signal;  ///< what the portal is told: SIGUSR1 prefer dark, SIGUSR2 prefer light
  ColorScheme after;
};

class AppearanceTest : public HostFixture, public ::testing::WithParamInterface<SwitchRow> {};

TEST_P(AppearanceTest, ASwitchOfTheDesktopsPreferenceRedrawsWithoutANewTimeline) {
  OSTREL_NEED_PROGRAM("Xvfb");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  const SwitchRow& r = GetParam();
  Xvfb x(1280, 800, dir_);
  Bus bus;
  ASSERT_TRUE(x.ok() && bus.ok());
  Process portal({OSTREL_FAKE_PORTAL, std::to_string(r.portalAtStart)},
                 {.env = {{"DBUS_SESSION_BUS_ADDRESS", bus.address()}},
                  .out = {},
                  .err = {},
                  .passFd = {},
                  .prefix = {}});
  ASSERT_EQ(runToEnd({"gdbus", "wait", "--session", "--timeout", "20", "org.freedesktop.portal.Desktop"},
                     {{"DBUS_SESSION_BUS_ADDRESS", bus.address()}}),
            0);
  Process host = startHost({"--widget", "NextUp:systemSmall"},
                           {{"DISPLAY", x.display()}, {"DBUS_SESSION_BUS_ADDRESS", bus.address()}});
  const std::optional<XWindow> w = awaitWindow(x, "Next up");
  ASSERT_TRUE(w) << hostErrors();
  const auto grab = [&] { return grabX11(x.display(), w->x, w->y, 170, 170); };
  const Image after = rendered("NextUp", WidgetFamily::systemSmall, r.after, kStartUtc, 1);
  ASSERT_TRUE(shows(grab, rendered("NextUp", WidgetFamily::systemSmall, r.before, kStartUtc, 1), "before"));

  // From here on, any read of the feed would mean a new timeline.
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(::inotify_add_watch(watch, feed_.c_str(), IN_OPEN), 0);
  ::kill(portal.pid(), r.signal);
  shows(grab, after, "after");
  char events[4096];
  EXPECT_LE(::read(watch, events, sizeof events), 0) << "the feed was read again";
  ::close(watch);
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

INSTANTIATE_TEST_SUITE_P(Switches, AppearanceTest,
                         ::testing::Values(SwitchRow{0, ColorScheme::light, SIGUSR1, ColorScheme::dark},
                                           SwitchRow{1, ColorScheme::dark, SIGUSR2, ColorScheme::light}));

}  // namespace
}  // namespace ostrel::display_test
