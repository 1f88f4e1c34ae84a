#include "desktop/display/gnome_shell.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace ostrel::display_test {

namespace fs = std::filesystem;

namespace {

/// `dir`, made first (the buses keep their logs there).
fs::path made(const fs::path& dir) {
  fs::create_directories(dir);
  return dir;
}

bool owns(GDBusConnection* bus, const char* name) {
  GVariant* r = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
      g_variant_new("(su)", name, 4), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
  if (r == nullptr) return false;
  guint32 reply = 0;
  g_variant_get(r, "(u)", &reply);
  g_variant_unref(r);
  return reply == 1;
}

}  // namespace

GnomeShell::GnomeShell(const fs::path& dir, const std::string& settings, int width, int height)
    : dir_(dir),
      runtime_(dir / "shell-runtime"),
      system_(made(dir / "system-bus")),
      session_(made(dir / "session-bus")) {
  if (!system_.ok() || !session_.ok()) return;
  fs::create_directories(runtime_);
  ::chmod(runtime_.c_str(), 0700);
  const fs::path extension = dir / "data/gnome-shell/extensions" / kExtensionUuid;
  fs::create_directories(extension.parent_path());
  fs::copy(OSTREL_GNOME_EXTENSION, extension, fs::copy_options::recursive);
  writeSettings(settings);
  const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin";
  shell_ = Process({"gnome-shell", "--headless", "--wayland", "--no-x11", "--virtual-monitor",
                    std::to_string(width) + "x" + std::to_string(height)},
                   {.env = {{"XDG_RUNTIME_DIR", runtime_.string()},
                            {"XDG_CONFIG_HOME", (dir / "config").string()},
                            {"XDG_DATA_HOME", (dir / "data").string()},
                            {"XDG_CACHE_HOME", (dir / "cache").string()},
                            {"HOME", dir.string()},
                            {"DBUS_SESSION_BUS_ADDRESS", session_.address()},
                            {"DBUS_SYSTEM_BUS_ADDRESS", system_.address()},
                            {"GSETTINGS_BACKEND", "keyfile"},
                            {"XDG_CURRENT_DESKTOP", "GNOME"},
                            {"PATH", fs::path(OSTREL_COMMAND).parent_path().string() + ":" + path},
                            {"WAYLAND_DISPLAY", ""},
                            {"DISPLAY", ""}},
                    .out = {},
                    .err = dir / "gnome-shell.log",
                    .passFd = {},
                    .prefix = {}});
  GDBusConnection* bus = busAt(session_.address());
  if (bus == nullptr) return;
  // The shell answers screenshots and window lists only to the desktop's own portal.
  if (!owns(bus, "org.freedesktop.impl.portal.desktop.gnome")) {
    g_object_unref(bus);
    return;
  }
  bus_ = bus;
  const bool started = eventually(
      [&] {
        if (!shell_.running()) return true;
        GVariant* r = call("/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Get",
                           g_variant_new("(ss)", "org.gnome.Shell", "OverviewActive"));
        if (r != nullptr) g_variant_unref(r);
        return r != nullptr;
      },
      60);
  // The shell starts by showing the overview; it is up once it has.
  if (!started || !shell_.running() || !eventually([&] { return overview() || !shell_.running(); }, 30) ||
      !shell_.running()) {
    g_object_unref(bus_);
    bus_ = nullptr;
  }
}

GnomeShell::~GnomeShell() {
  if (bus_ != nullptr) g_object_unref(bus_);
}

void GnomeShell::writeSettings(const std::string& settings) const {
  const fs::path keyfile = dir_ / "config/glib-2.0/settings/keyfile";
  fs::create_directories(keyfile.parent_path());
  const fs::path part = keyfile.string() + ".part";
  std::ofstream(part) << settings;
  fs::rename(part, keyfile);
}

GVariant* GnomeShell::call(const char* path, const char* interface, const char* method, GVariant* params,
                           const char* destination) {
  return g_dbus_connection_call_sync(bus_, destination, path, interface, method, params, nullptr,
                                     G_DBUS_CALL_FLAGS_NONE, 20000, nullptr, nullptr);
}

bool GnomeShell::overview() {
  GVariant* v = call("/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Get",
                     g_variant_new("(ss)", "org.gnome.Shell", "OverviewActive"));
  if (v == nullptr) return false;
  GVariant* inner = nullptr;
  g_variant_get(v, "(v)", &inner);
  const bool shown = g_variant_get_boolean(inner) != FALSE;
  g_variant_unref(inner);
  g_variant_unref(v);
  return shown;
}

bool GnomeShell::setOverview(bool shown) {
  GVariant* r =
      call("/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Set",
           g_variant_new("(ssv)", "org.gnome.Shell", "OverviewActive", g_variant_new_boolean(shown)));
  if (r == nullptr) return false;
  g_variant_unref(r);
  const bool settled = eventually([&] { return overview() == shown; });
  ::usleep(500'000);  // the overview's animation
  return settled;
}

Image GnomeShell::screenshot() {
  const fs::path png = dir_ / ("shell-" + std::to_string(shots_++) + ".png");
  GVariant* r = call("/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot", "Screenshot",
                     g_variant_new("(bbs)", FALSE, FALSE, png.c_str()));
  if (r == nullptr) return {};
  g_variant_unref(r);
  Image image = loadPng(png);
  fs::remove(png);
  return image;
}

int GnomeShell::windowCount() {
  GVariant* r = call("/org/gnome/Shell/Introspect", "org.gnome.Shell.Introspect", "GetWindows", nullptr);
  if (r == nullptr) return -1;
  GVariant* windows = g_variant_get_child_value(r, 0);
  const auto n = static_cast<int>(g_variant_n_children(windows));
  g_variant_unref(windows);
  g_variant_unref(r);
  return n;
}

std::vector<int> GnomeShell::engines() const {
  std::vector<int> pids;
  const std::string mark = (runtime_ / "ostrel-widgets").string();
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("/proc", ec)) {
    const std::string name = e.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string cmdline = readFile(e.path() / "cmdline");
    for (char& c : cmdline) c = c == '\0' ? ' ' : c;
    if (cmdline.find(" watch ") != std::string::npos && cmdline.find(mark) != std::string::npos) {
      pids.push_back(std::stoi(name));
    }
  }
  return pids;
}

}  // namespace ostrel::display_test
