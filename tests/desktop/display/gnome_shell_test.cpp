// The GNOME Shell extension in a headless GNOME Shell (its own session bus and a second one where
// it looks for the system's services, private XDG folders, settings in a keyfile the test writes):
// the faces the engine draws stand on the desktop where the settings say and look as `render`
// draws them, follow the feed and the dark style, are named for screen readers, stay out of the
// window lists and the overview, outlive a crash of the engine, and go with it when the extension
// is disabled. `host` there says to enable the extension instead of opening ordinary windows.
#include <atspi/atspi.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExtension = "ostrel-widgets@ostrel.app";
constexpr int kScale = 2, kWidth = 1280, kHeight = 1000;  // 640 × 500 points

struct Spot {
  Shown face;
  int x, y;  ///< points: bottom-left, margin 40, gap 8, stacked upwards
  [[nodiscard]] Image in(const Image& screen) const {
    return screen.crop(x * kScale, y * kScale, face.width * kScale, 170 * kScale);
  }
};
constexpr Spot kNextUpSpot{kNextUp, 40, 290}, kDueSoonSpot{kDueSoon, 40, 112};

class GnomeShellTest : public HostFixture {
 protected:
  void writeSettings(const std::string& scheme,
                     const std::string& widgets = "['NextUp:systemSmall', 'DueSoon:systemMedium']") {
    std::string text = readFile(OSTREL_SOURCE_DIR "/tests/data/desktop/gnome-shell.keyfile");
    for (const auto& [mark, value] :
         {std::pair{"@SCHEME@", scheme}, {"@WIDGETS@", widgets}, {"@FEED@", feed_.string()}})
      text.replace(text.find(mark), std::string(mark).size(), value);
    const fs::path keyfile = dir_ / "config/glib-2.0/settings/keyfile";
    fs::create_directories(keyfile.parent_path());
    std::ofstream(keyfile.string() + ".part") << text;
    fs::rename(keyfile.string() + ".part", keyfile);
  }

  /// Starts the shell with the extension built beside the tests; whether it came up (it starts by
  /// showing the overview).
  bool startShell() {
    fs::create_directories(dir_ / "shell-runtime");
    ::chmod((dir_ / "shell-runtime").c_str(), 0700);
    fs::create_directories(dir_ / "data/gnome-shell/extensions");
    fs::copy(OSTREL_GNOME_EXTENSION, dir_ / "data/gnome-shell/extensions" / kExtension,
             fs::copy_options::recursive);
    writeSettings("default");
    shell_ = Process(
        {"gnome-shell", "--headless", "--wayland", "--no-x11", "--virtual-monitor",
         std::to_string(kWidth) + "x" + std::to_string(kHeight)},
        {.env = {{"XDG_RUNTIME_DIR", (dir_ / "shell-runtime").string()},
                 {"XDG_CONFIG_HOME", (dir_ / "config").string()},
                 {"XDG_DATA_HOME", (dir_ / "data").string()},
                 {"XDG_CACHE_HOME", (dir_ / "cache").string()},
                 {"HOME", dir_.string()},
                 {"DBUS_SESSION_BUS_ADDRESS", session_.address()},
                 {"DBUS_SYSTEM_BUS_ADDRESS", system_.address()},
                 {"GSETTINGS_BACKEND", "keyfile"},
                 {"XDG_CURRENT_DESKTOP", "GNOME"},
                 {"PATH", fs::path(OSTREL_COMMAND).parent_path().string() + ":" + std::getenv("PATH")},
                 {"WAYLAND_DISPLAY", ""},
                 {"DISPLAY", ""}},
         .out = {},
         .err = dir_ / "gnome-shell.log",
         .passFd = {},
         .prefix = {}});
    // The shell answers screenshots only to the desktop's own portal: this connection takes its name.
    bus_ = session_.connect();
    return bus_ != nullptr &&
           g_bus_own_name_on_connection(bus_, "org.freedesktop.impl.portal.desktop.gnome",
                                        G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr,
                                        nullptr) != 0 &&
           eventually([&] { return overview() || !shell_.running(); }, 90) && shell_.running();
  }
  void TearDown() override {
    if (bus_ != nullptr) g_object_unref(bus_);
    HostFixture::TearDown();
  }

  /// What the shell answers to `method` on `path` with `args`, as gdbus prints it.
  std::string shell(const std::string& path, const std::string& method,
                    const std::vector<std::string>& args = {}) {
    std::vector<std::string> argv{"--dest", "org.gnome.Shell", "--object-path", path, "--method", method};
    argv.insert(argv.end(), args.begin(), args.end());
    return busCall(session_.address(), argv);
  }
  bool overview() {
    return shell("/org/gnome/Shell", "org.freedesktop.DBus.Properties.Get",
                 {"org.gnome.Shell", "OverviewActive"}) == "(<true>,)\n";
  }
  /// Shows or leaves the overview, and waits for it to settle.
  bool setOverview(bool shown) {
    const bool settled = shell("/org/gnome/Shell", "org.freedesktop.DBus.Properties.Set",
                               {"org.gnome.Shell", "OverviewActive", shown ? "<true>" : "<false>"}) != "" &&
                         eventually([&] { return overview() == shown; });
    ::usleep(500'000);  // the overview's animation
    return settled;
  }
  /// What the shell answers to the connection that holds the portal's name (screenshots and the
  /// window list are for the portal alone), as GVariant prints it.
  std::string asPortal(const char* path, const char* interface, const char* method, GVariant* params) {
    GVariant* r = g_dbus_connection_call_sync(bus_, "org.gnome.Shell", path, interface, method, params,
                                              nullptr, G_DBUS_CALL_FLAGS_NONE, 20000, nullptr, nullptr);
    gchar* text = r != nullptr ? g_variant_print(r, TRUE) : nullptr;
    std::string out = text != nullptr ? text : "";
    g_free(text);
    if (r != nullptr) g_variant_unref(r);
    return out;
  }
  Image screenshot() {
    const fs::path png = dir_ / "shell.png";
    return asPortal("/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot", "Screenshot",
                    g_variant_new("(bbs)", FALSE, FALSE, png.c_str())) != ""
               ? loadPng(png)
               : Image{};
  }
  /// The process ids of the engines the extension runs.
  std::vector<int> engines() const {
    std::vector<int> pids;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc", ec)) {
      std::string cmdline = readFile(e.path() / "cmdline");
      std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
      if (cmdline.find(" watch ") != std::string::npos && cmdline.find(feed_.string()) != std::string::npos)
        pids.push_back(std::stoi(e.path().filename().string()));
    }
    return pids;
  }
  /// Whether the screen shows `spot` as `render` draws it at one of the first two minutes.
  bool showsRendered(const Spot& s, ColorScheme scheme) {
    const Image shown = s.in(screenshot());
    for (const double at : {kStartUtc, kStartUtc + 60}) {
      if (compare(shown, rendered(s.face, scheme, at, kScale, background_)).similar()) return true;
    }
    return false;
  }

  Bus system_, session_;  // the session bus last: this process's bus, for AT-SPI
  Process shell_;
  GDBusConnection* bus_ = nullptr;
  Rgb background_;
};

TEST_F(GnomeShellTest, TheExtensionKeepsTheFacesOnTheDesktopUntilDisabled) {
  OSTREL_NEED_PROGRAM("gnome-shell");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  OSTREL_NEED_PROGRAM("/usr/libexec/at-spi-bus-launcher");
  ASSERT_TRUE(startShell() && setOverview(false)) << readFile(dir_ / "gnome-shell.log");
  const Image screen = screenshot();
  ASSERT_EQ(screen.width, kWidth) << readFile(dir_ / "gnome-shell.log");
  background_ = screen.at(kWidth - 1, kHeight - 1);
  for (const Spot& s : {kNextUpSpot, kDueSoonSpot}) {
    EXPECT_TRUE(eventually([&] { return showsRendered(s, ColorScheme::light); }))
        << s.face.kind << ": shown " << keep(s.in(screenshot()), s.face.kind) << "\n"
        << readFile(dir_ / "gnome-shell.log");
  }
  EXPECT_EQ(asPortal("/org/gnome/Shell/Introspect", "org.gnome.Shell.Introspect", "GetWindows", nullptr),
            "(@a{ta{sv}} {},)")
      << "no window for alt-tab, the dock or the overview";

  // Screen readers find each face by its reading.
  ASSERT_EQ(atspi_init(), 0);
  for (const Spot& s : {kNextUpSpot, kDueSoonSpot}) {
    EXPECT_TRUE(eventually([&] {
      const std::vector<std::string> names = accessibleNames(24);
      return std::ranges::any_of(std::vector{kStartUtc, kStartUtc + 60}, [&](double at) {
        return std::ranges::count(names, expectedReading(s.face, at)) > 0;
      });
    })) << ::testing::PrintToString(accessibleNames(24));
  }

  // The overview shows no face.
  ASSERT_TRUE(setOverview(true));
  EXPECT_FALSE(showsRendered(kNextUpSpot, ColorScheme::light));
  ASSERT_TRUE(setOverview(false));

  // The dark style, then a feed rewritten by the app: the faces follow.
  writeSettings("prefer-dark");
  EXPECT_TRUE(eventually([&] { return showsRendered(kNextUpSpot, ColorScheme::dark); }))
      << keep(kNextUpSpot.in(screenshot()), "dark");
  std::string text = readFile(feed_);
  text.replace(text.find("ABS Lecture Theatre 1010"), 24, "Great Hall");
  std::ofstream(dir_ / "widget.json.new") << text << std::flush;
  const double written = monotonic();
  fs::rename(dir_ / "widget.json.new", feed_);
  double followed = -1;
  EXPECT_TRUE(eventually([&] {
    followed = monotonic() - written;  // the screenshot shows the screen as it is when asked
    return showsRendered(kNextUpSpot, ColorScheme::dark);
  }));
  EXPECT_LT(followed, 2.0) << "seconds from the feed's rewrite to the face shown";
  RecordProperty("feed_to_face_ms", static_cast<int>(followed * 1000));

  // An engine that dies is started again.
  const std::vector<int> before = engines();
  ASSERT_EQ(before.size(), 1U);
  ::kill(before[0], SIGKILL);
  EXPECT_TRUE(eventually([&] {
    const std::vector<int> now = engines();
    return now.size() == 1 && now[0] != before[0];
  }));

  // A widget removed (as its menu does): the other takes its place, nothing where it was.
  writeSettings("prefer-dark", "['DueSoon:systemMedium']");
  const Image due = rendered(kDueSoon, ColorScheme::dark, kStartUtc, kScale, background_);
  EXPECT_TRUE(eventually([&] {
    const Image now = screenshot();
    return compare(Spot{kDueSoon, 40, 290}.in(now), due).similar() &&
           kDueSoonSpot.in(now).at(170, 170) == background_;
  }));

  // `host` there points at the extension.
  Process host = startHost({}, {{"WAYLAND_DISPLAY", "wayland-0"},
                                {"XDG_RUNTIME_DIR", (dir_ / "shell-runtime").string()},
                                {"XDG_CURRENT_DESKTOP", "GNOME"},
                                {"GDK_BACKEND", "wayland"}});
  EXPECT_EQ(host.wait(30), 1);
  EXPECT_EQ(
      hostErrors(),
      "ostrel-widgets: error: GNOME Shell offers no layer-shell: show the widgets through its extension "
      "instead: gnome-extensions enable ostrel-widgets@ostrel.app\n");

  // Disabled: no face, no engine.
  ASSERT_NE(shell("/org/gnome/Shell", "org.gnome.Shell.Extensions.DisableExtension", {kExtension}), "");
  EXPECT_TRUE(eventually([&] { return engines().empty(); }));
  EXPECT_EQ(kNextUpSpot.in(screenshot()).at(170, 170), background_);
}

}  // namespace
}  // namespace ostrel::display_test
