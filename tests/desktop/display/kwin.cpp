#include "desktop/display/kwin.hpp"

#include <fcntl.h>
#include <gio/gunixfdlist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace ostrel::display_test {

namespace fs = std::filesystem;

namespace {

fs::path made(const fs::path& dir) {
  fs::create_directories(dir);
  return dir;
}

}  // namespace

Kwin::Kwin(int width, int height, int scale, const fs::path& dir)
    : dir_(dir),
      runtime_(dir / "kwin-runtime"),
      session_(made(dir / "kwin-bus")),
      width_(width / scale),
      height_(height / scale) {
  if (!session_.ok()) return;
  fs::create_directories(runtime_);
  ::chmod(runtime_.c_str(), 0700);
  // A copy carries no file capability.
  const fs::path binary = dir / "kwin_wayland";
  gchar* installed = g_find_program_in_path("kwin_wayland");
  std::error_code ec;
  if (installed != nullptr) fs::copy_file(installed, binary, ec);
  g_free(installed);
  if (installed == nullptr || ec) return;
  kwin_ =
      Process({binary.string(), "--virtual", "--no-lockscreen", "--socket", socket(), "--width",
               std::to_string(width_), "--height", std::to_string(height_), "--scale", std::to_string(scale)},
              {.env = {{"XDG_RUNTIME_DIR", runtime_.string()},
                       {"XDG_CONFIG_HOME", (dir / "kwin-config").string()},
                       {"HOME", dir.string()},
                       {"DBUS_SESSION_BUS_ADDRESS", session_.address()},
                       {"KWIN_SCREENSHOT_NO_PERMISSION_CHECKS", "1"},
                       {"QT_QPA_PLATFORM", ""},
                       {"WAYLAND_DISPLAY", ""},
                       {"DISPLAY", ""}},
               .out = {},
               .err = dir / "kwin.log",
               .passFd = {},
               .prefix = {}});
  GDBusConnection* bus = busAt(session_.address());
  if (bus == nullptr) return;
  // Up once its screenshot service answers.
  bus_ = bus;
  if (!eventually([&] { return !kwin_.running() || !screenshot().empty(); }, 30) || !kwin_.running()) {
    g_object_unref(bus_);
    bus_ = nullptr;
  }
}

Kwin::~Kwin() {
  if (bus_ != nullptr) g_object_unref(bus_);
}

Image Kwin::screenshot() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return {};
  GUnixFDList* list = g_unix_fd_list_new_from_array(&fds[1], 1);  // takes the write end
  GVariantBuilder options;
  g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
  g_variant_builder_add(&options, "{sv}", "native-resolution", g_variant_new_boolean(TRUE));
  GVariant* reply = g_dbus_connection_call_with_unix_fd_list_sync(
      bus_, "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureArea",
      g_variant_new("(iiuua{sv}h)", 0, 0, static_cast<guint32>(width_), static_cast<guint32>(height_),
                    &options, 0),
      nullptr, G_DBUS_CALL_FLAGS_NONE, 20000, list, nullptr, nullptr, nullptr);
  g_object_unref(list);
  std::string data;
  char buffer[65536];
  ssize_t n = 0;
  while (reply != nullptr && (n = ::read(fds[0], buffer, sizeof buffer)) > 0)
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
  if (format < 4 || format > 6 || data.size() < static_cast<std::size_t>(stride) * height) return {};
  Image image{.width = static_cast<int>(width), .height = static_cast<int>(height), .pixels = {}};
  image.pixels.reserve(static_cast<std::size_t>(width) * height);
  for (guint32 y = 0; y < height; ++y) {
    for (guint32 x = 0; x < width; ++x) {
      std::uint32_t p = 0;
      std::memcpy(&p, data.data() + static_cast<std::size_t>(y) * stride + x * 4, 4);
      image.pixels.push_back(Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                 static_cast<std::uint8_t>(p)});
    }
  }
  return image;
}

std::vector<std::string> Kwin::windows(const std::vector<std::string>& properties) {
  const std::string name = "ostrel-windows-" + std::to_string(scripts_++);
  const std::string mark = name + " ";
  std::string fields;
  for (const std::string& p : properties) fields += (fields.empty() ? "" : ", ") + p + ": w." + p;
  const fs::path script = dir_ / (name + ".js");
  std::ofstream(script) << "const all = workspace.clientList();\n"
                        << "for (let i = 0; i < all.length; ++i) {\n  const w = all[i];\n"
                        << "  print(\"" << mark << "\" + JSON.stringify({" << fields << "}));\n}\n";
  for (const auto& [method, params] :
       {std::pair<const char*, GVariant*>{"loadScript", g_variant_new("(ss)", script.c_str(), name.c_str())},
        {"start", nullptr}}) {
    GVariant* r =
        g_dbus_connection_call_sync(bus_, "org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", method,
                                    params, nullptr, G_DBUS_CALL_FLAGS_NONE, 20000, nullptr, nullptr);
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
          const std::size_t at = line.find(mark);
          if (at != std::string::npos) lines.push_back(line.substr(at + mark.size()));
        }
        return !lines.empty();
      },
      5);
  return lines;
}

}  // namespace ostrel::display_test
