// The host under KWin (Plasma's compositor, virtual backend, one output at two pixels per point,
// screenshots through its screenshot service, on a bus of the test's): layer surfaces in their
// corner below every window, out of the switcher, taskbar and pager, on every desktop, never
// active, showing what `render` draws at the output's scale.
#include <fcntl.h>
#include <gio/gunixfdlist.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "desktop/display/host_fixture.hpp"

namespace ostrel::display_test {
namespace {

namespace fs = std::filesystem;

constexpr int kScale = 2, kWidth = 640, kHeight = 400;  // points

class KwinHostTest : public HostFixture {
 protected:
  /// KWin on its virtual backend, run from a copy of its binary, which carries a file capability
  /// that containers refuse to grant; whether its screenshot service answers.
  bool startKwin() {
    fs::create_directories(dir_ / "kwin-runtime");
    ::chmod((dir_ / "kwin-runtime").c_str(), 0700);
    gchar* installed = g_find_program_in_path("kwin_wayland");
    std::error_code ec;
    fs::copy_file(installed, dir_ / "kwin_wayland", ec);
    g_free(installed);
    kwin_ = Process({(dir_ / "kwin_wayland").string(), "--virtual", "--no-lockscreen", "--socket",
                     "wayland-test", "--width", std::to_string(kWidth), "--height", std::to_string(kHeight),
                     "--scale", std::to_string(kScale)},
                    {.env = {{"XDG_RUNTIME_DIR", (dir_ / "kwin-runtime").string()},
                             {"XDG_CONFIG_HOME", (dir_ / "kwin-config").string()},
                             {"HOME", dir_.string()},
                             {"DBUS_SESSION_BUS_ADDRESS", bus_.address()},
                             {"KWIN_SCREENSHOT_NO_PERMISSION_CHECKS", "1"},
                             {"QT_QPA_PLATFORM", ""},
                             {"WAYLAND_DISPLAY", ""},
                             {"DISPLAY", ""}},
                     .out = {},
                     .err = dir_ / "kwin.log",
                     .passFd = {},
                     .prefix = {}});
    connection_ = bus_.connect();
    return !ec && connection_ != nullptr &&
           eventually([&] { return !kwin_.running() || !screenshot().empty(); }, 30) && kwin_.running();
  }
  void TearDown() override {
    if (connection_ != nullptr) g_object_unref(connection_);
    HostFixture::TearDown();
  }

  /// The screen in device pixels, through KWin's screenshot service.
  Image screenshot() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return {};
    GUnixFDList* list = g_unix_fd_list_new_from_array(&fds[1], 1);  // takes the write end
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&options, "{sv}", "native-resolution", g_variant_new_boolean(TRUE));
    GVariant* reply = g_dbus_connection_call_with_unix_fd_list_sync(
        connection_, "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureArea",
        g_variant_new("(iiuua{sv}h)", 0, 0, guint32{kWidth}, guint32{kHeight}, &options, 0), nullptr,
        G_DBUS_CALL_FLAGS_NONE, 20000, list, nullptr, nullptr, nullptr);
    g_object_unref(list);
    std::string data;
    char buffer[65536];
    for (ssize_t n = 0; reply != nullptr && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
      data.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    if (reply == nullptr) return {};
    guint32 width = 0, height = 0, stride = 0, format = 0;
    GVariant* results = g_variant_get_child_value(reply, 0);
    g_variant_lookup(results, "width", "u", &width);
    g_variant_lookup(results, "height", "u", &height);
    g_variant_lookup(results, "stride", "u", &stride);
    g_variant_lookup(results, "format", "u", &format);
    g_variant_unref(results);
    g_variant_unref(reply);
    // QImage's 32-bit formats: 0xAARRGGBB words (RGB32, ARGB32, ARGB32 premultiplied).
    if (format < 4 || format > 6 || data.size() < std::size_t{stride} * height) return {};
    Image image{.width = static_cast<int>(width), .height = static_cast<int>(height), .pixels = {}};
    for (guint32 y = 0; y < height; ++y) {
      for (guint32 x = 0; x < width; ++x) {
        std::uint32_t p = 0;
        std::memcpy(&p, data.data() + std::size_t{y} * stride + x * 4, 4);
        image.pixels.push_back(Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                   static_cast<std::uint8_t>(p)});
      }
    }
    return image;
  }

  /// One line per window as a KWin script reads it: a JSON object of `properties`.
  std::vector<std::string> windows(const std::string& properties) {
    const fs::path script = dir_ / "windows.js";
    std::ofstream(script) << "const all = workspace.clientList();\nfor (let i = 0; i < all.length; ++i) {\n"
                          << "  const w = all[i];\n  print(\"ostrel-window \" + JSON.stringify({"
                          << properties << "}));\n}\n";
    for (const auto& [method, params] :
         {std::pair<const char*, GVariant*>{"loadScript",
                                            g_variant_new("(ss)", script.c_str(), "ostrel-windows")},
          {"start", nullptr}}) {
      GVariant* r = g_dbus_connection_call_sync(connection_, "org.kde.KWin", "/Scripting",
                                                "org.kde.kwin.Scripting", method, params, nullptr,
                                                G_DBUS_CALL_FLAGS_NONE, 20000, nullptr, nullptr);
      if (r == nullptr) return {};
      g_variant_unref(r);
    }
    // The script prints to KWin's log as it runs.
    std::vector<std::string> lines;
    eventually(
        [&] {
          lines.clear();
          std::istringstream log(readFile(dir_ / "kwin.log"));
          for (std::string line; std::getline(log, line);) {
            const std::size_t at = line.find("ostrel-window ");
            if (at != std::string::npos) lines.push_back(line.substr(at + 14));
          }
          return !lines.empty();
        },
        5);
    return lines;
  }

  Bus bus_;
  Process kwin_;
  GDBusConnection* connection_ = nullptr;
};

TEST_F(KwinHostTest, LayerSurfacesStandBelowWindowsInTheirCornerAndShowWhatRenderDraws) {
  OSTREL_NEED_PROGRAM("kwin_wayland");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  ASSERT_TRUE(bus_.ok() && startKwin()) << readFile(dir_ / "kwin.log");
  const Image screen = screenshot();
  ASSERT_EQ(screen.width, kWidth * kScale) << readFile(dir_ / "kwin.log");
  const Rgb background = screen.at(kWidth * kScale - 1, kHeight * kScale - 1);
  Process host = startHost({"--corner", "bottom-left", "--scheme", "dark"},
                           {{"WAYLAND_DISPLAY", "wayland-test"},
                            {"XDG_RUNTIME_DIR", (dir_ / "kwin-runtime").string()},
                            {"DBUS_SESSION_BUS_ADDRESS", bus_.address()},
                            {"GDK_BACKEND", "wayland"}});
  struct Expected {
    const char* kind;
    WidgetFamily family;
    int y, width;  ///< points: margin 24 from the bottom-left corner, stacked upwards, gap 16
  };
  const Expected expected[] = {{"NextUp", WidgetFamily::systemSmall, 206, 170},
                               {"DueSoon", WidgetFamily::systemMedium, 20, 364}};
  for (const Expected& e : expected) {
    shows([&] { return screenshot().crop(24 * kScale, e.y * kScale, e.width * kScale, 170 * kScale); },
          rendered(e.kind, e.family, ColorScheme::dark, kStartUtc, kScale, background), e.kind);
  }
  // As KWin's scripts see the windows: layer 1 is the layer below ordinary windows.
  const std::vector<std::string> found = windows(
      "layer: w.layer, skipSwitcher: w.skipSwitcher, skipTaskbar: w.skipTaskbar, skipPager: w.skipPager, "
      "onAllDesktops: w.onAllDesktops, active: w.active, x: w.x, y: w.y, width: w.width, height: w.height");
  ASSERT_EQ(found.size(), 2U) << readFile(dir_ / "kwin.log");
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(found[i], R"({"layer":1,"skipSwitcher":true,"skipTaskbar":true,"skipPager":true,)"
                        R"("onAllDesktops":true,"active":false,"x":24,"y":)" +
                            std::to_string(expected[i].y) + R"(,"width":)" +
                            std::to_string(expected[i].width) + R"(,"height":170})");
  }
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "") << "layer-shell is there: nothing to say";
}

}  // namespace
}  // namespace ostrel::display_test
