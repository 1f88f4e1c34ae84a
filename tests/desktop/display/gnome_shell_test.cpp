// The GNOME Shell extension in a headless GNOME Shell: the faces the engine draws stand on the
// desktop where the settings say and look as `render` draws them, follow the feed and the dark
// style, are named for screen readers, stay out of the window lists and the overview, outlive a
// crash of the engine, and go with it when the extension is disabled. `host` there says to enable
// the extension instead of opening ordinary windows.
#include "desktop/display/gnome_shell.hpp"

#include <atspi/atspi.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

std::string settings(const std::string& feed, const std::string& scheme,
                     const std::string& widgets = "['NextUp:systemSmall', 'DueSoon:systemMedium']") {
  return std::string("[org/gnome/shell]\nenabled-extensions=['") + kExtensionUuid +
         "']\nwelcome-dialog-last-shown-version='999'\n\n"
         "[org/gnome/desktop/notifications]\nshow-banners=false\n\n"
         "[org/gnome/desktop/interface]\ntoolkit-accessibility=true\nscaling-factor=2\ncolor-scheme='" +
         scheme +
         "'\n\n"
         "[org/gnome/shell/extensions/ostrel-widgets]\ncorner='bottom-left'\nmargin=40\ngap=8\nwidgets=" +
         widgets +
         "\n"
         "engine-options=['--feed', '" +
         feed + "', '--now=" + kStart + "', '--tz', '" + kZone + "', '--locale', 'en_US']\n";
}

/// Every name in the shell's accessible tree.
void collectNames(AtspiAccessible* node, int depth, std::vector<std::string>& names) {
  if (gchar* name = atspi_accessible_get_name(node, nullptr)) {
    if (*name != '\0') names.emplace_back(name);
    g_free(name);
  }
  if (depth == 0) return;
  const gint n = atspi_accessible_get_child_count(node, nullptr);
  for (gint i = 0; i < n && i < 200; ++i) {
    if (AtspiAccessible* child = atspi_accessible_get_child_at_index(node, i, nullptr)) {
      collectNames(child, depth - 1, names);
      g_object_unref(child);
    }
  }
}

std::vector<std::string> shellNames() {
  std::vector<std::string> names;
  AtspiAccessible* desktop = atspi_get_desktop(0);
  collectNames(desktop, 24, names);
  g_object_unref(desktop);
  return names;
}

class GnomeShellTest : public HostFixture {
 protected:
  struct Spot {
    const char* kind;
    WidgetFamily family;
    int x, y, width, height;  ///< points: bottom-left, margin 40, gap 8, stacked upwards

    [[nodiscard]] Image in(const Image& screen) const {
      return screen.crop(x * kScale, y * kScale, width * kScale, height * kScale);
    }
  };
  static constexpr int kScale = 2, kWidth = 1280, kHeight = 1000;  // 640 × 500 points
  static constexpr Spot kSpots[] = {{"NextUp", WidgetFamily::systemSmall, 40, 290, 170, 170},
                                    {"DueSoon", WidgetFamily::systemMedium, 40, 112, 364, 170}};

  /// Whether the screen shows `spot` as `render` draws it at one of the first two minutes.
  bool showsRendered(GnomeShell& shell, const Spot& s, ColorScheme scheme, Difference& d) {
    const Image shown = s.in(shell.screenshot());
    for (const double at : {kStartUtc, kStartUtc + 60}) {
      if ((d = compare(shown, rendered(s.kind, s.family, scheme, at, kScale, background_))).similar())
        return true;
    }
    last_ = shown;
    return false;
  }

  Rgb background_;
  Image last_;
};

TEST_F(GnomeShellTest, TheExtensionKeepsTheFacesOnTheDesktopUntilDisabled) {
  OSTREL_NEED_PROGRAM("gnome-shell");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  OSTREL_NEED_PROGRAM("/usr/libexec/at-spi-bus-launcher");
  // The accessibility bus its session bus starts keeps its socket in the runtime folder: this test's
  // own, apart from any other test's.
  std::filesystem::create_directories(dir_ / "runtime");
  ::setenv("XDG_RUNTIME_DIR", (dir_ / "runtime").c_str(), 1);
  GnomeShell shell(dir_, settings(feed_.string(), "default"), kWidth, kHeight);
  ASSERT_TRUE(shell.ok()) << readFile(dir_ / "gnome-shell.log");
  ASSERT_TRUE(shell.setOverview(false));
  const Image screen = shell.screenshot();
  ASSERT_EQ(screen.width, kWidth) << readFile(dir_ / "gnome-shell.log");
  background_ = screen.at(kWidth - 1, kHeight - 1);

  Difference d;
  for (const Spot& s : kSpots) {
    EXPECT_TRUE(eventually([&] { return showsRendered(shell, s, ColorScheme::light, d); }))
        << s.kind << ": mean " << d.mean << ", outliers " << d.outliers << "; shown " << keep(last_, s.kind)
        << "\n"
        << readFile(dir_ / "gnome-shell.log");
  }
  keep(shell.screenshot(), "screen");
  EXPECT_EQ(shell.windowCount(), 0) << "no window for alt-tab, the dock or the overview";

  // Screen readers find each face by its reading.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", shell.busAddress().c_str(), 1);
  ASSERT_EQ(atspi_init(), 0);
  std::vector<std::string> names;
  for (const Spot& s : kSpots) {
    const std::string first = expectedReading(s.kind, s.family, kStartUtc),
                      second = expectedReading(s.kind, s.family, kStartUtc + 60);
    EXPECT_TRUE(eventually([&] {
      names = shellNames();
      return std::find(names.begin(), names.end(), first) != names.end() ||
             std::find(names.begin(), names.end(), second) != names.end();
    })) << first
        << "\n"
        << ::testing::PrintToString(names);
  }

  // The overview shows no face.
  ASSERT_TRUE(shell.setOverview(true));
  EXPECT_FALSE(showsRendered(shell, kSpots[0], ColorScheme::light, d));
  ASSERT_TRUE(shell.setOverview(false));

  // The dark style, then a feed rewritten by the app: the faces follow.
  shell.writeSettings(settings(feed_.string(), "prefer-dark"));
  EXPECT_TRUE(eventually([&] { return showsRendered(shell, kSpots[0], ColorScheme::dark, d); }))
      << "mean " << d.mean << "; shown " << keep(last_, "dark");
  std::string text = readFile(feed_);
  text.replace(text.find("ABS Lecture Theatre 1010"), 24, "Great Hall");
  { std::ofstream(dir_ / "widget.json.new") << text; }
  const double written = monotonic();
  std::filesystem::rename(dir_ / "widget.json.new", feed_);
  const Image expected =
      rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::dark, kStartUtc, kScale, background_);
  const Image expectedNext =
      rendered("NextUp", WidgetFamily::systemSmall, ColorScheme::dark, kStartUtc + 60, kScale, background_);
  double followed = -1;
  const Spot& s = kSpots[0];
  EXPECT_TRUE(eventually([&] {
    followed = monotonic() - written;  // the screenshot shows the screen as it is when asked
    const Image shown = s.in(shell.screenshot());
    return compare(shown, expected).similar() || compare(shown, expectedNext).similar();
  }));
  EXPECT_LT(followed, 2.0) << "seconds from the feed's rewrite to the face shown";
  RecordProperty("feed_to_face_ms", static_cast<int>(followed * 1000));

  // An engine that dies is started again.
  const std::vector<int> engines = shell.engines();
  ASSERT_EQ(engines.size(), 1U);
  ::kill(engines[0], SIGKILL);
  EXPECT_TRUE(eventually([&] {
    const std::vector<int> now = shell.engines();
    return now.size() == 1 && now[0] != engines[0];
  }));

  // A widget removed (as its menu does): the other takes its place.
  shell.writeSettings(settings(feed_.string(), "prefer-dark", "['DueSoon:systemMedium']"));
  const Image due =
      rendered("DueSoon", WidgetFamily::systemMedium, ColorScheme::dark, kStartUtc, kScale, background_);
  EXPECT_TRUE(eventually([&] {
    const Image now = shell.screenshot();
    // DueSoon now where NextUp was, nothing where it was.
    const Spot moved{"DueSoon", WidgetFamily::systemMedium, s.x, s.y, 364, 170};
    return compare(moved.in(now), due).similar() && kSpots[1].in(now).at(170, 170) == background_;
  }));

  // `host` there points at the extension.
  Process host = startHost({}, {{"WAYLAND_DISPLAY", "wayland-0"},
                                {"XDG_RUNTIME_DIR", shell.runtimeDir().string()},
                                {"XDG_CURRENT_DESKTOP", "GNOME"},
                                {"GDK_BACKEND", "wayland"}});
  EXPECT_EQ(host.wait(30), 1);
  EXPECT_EQ(hostErrors(),
            "ostrel-widgets: error: GNOME Shell offers no layer-shell: show the widgets through its "
            "extension instead: "
            "gnome-extensions enable ostrel-widgets@ostrel.app\n");

  // Disabled: no face, no engine.
  GVariant* r = shell.call("/org/gnome/Shell", "org.gnome.Shell.Extensions", "DisableExtension",
                           g_variant_new("(s)", kExtensionUuid));
  ASSERT_NE(r, nullptr);
  g_variant_unref(r);
  EXPECT_TRUE(eventually([&] { return shell.engines().empty(); }));
  EXPECT_EQ(s.in(shell.screenshot()).at(170, 170), background_);
}

}  // namespace
}  // namespace ostrel::display_test
