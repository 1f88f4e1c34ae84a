#include "desktop/display/servers.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace ostrel::display_test {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string busCall(const std::string& address, std::vector<std::string> args) {
  args.insert(args.begin(), {"gdbus", "call", "--address", address});
  const Outcome o = capture(args, {});
  return o.status == 0 ? o.out : "";
}

Xvfb::Xvfb(int width, int height, const fs::path& logDir) {
  // Xvfb writes its display number to descriptor 3 once it is ready.
  int ready[2];
  if (::pipe2(ready, O_CLOEXEC) != 0) return;
  process_ = Process(
      {"Xvfb", "-displayfd", "3", "-screen", "0",
       std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-br", "-noreset"},
      {.env = {}, .out = {}, .err = logDir / "xvfb.log", .passFd = std::pair{ready[1], 3}, .prefix = {}});
  ::close(ready[1]);
  std::string n;
  char c = 0;
  for (pollfd p{ready[0], POLLIN, 0}; ::poll(&p, 1, 20'000) > 0 && ::read(ready[0], &c, 1) == 1 && c != '\n';)
    n += c;
  ::close(ready[0]);
  if (c == '\n' && !n.empty()) display_ = ":" + n;
}

Bus::Bus()
    : runtime_(fs::temp_directory_path() / "ostrel-bus-XXXXXX"), bus_(g_test_dbus_new(G_TEST_DBUS_NONE)) {
  std::string folder = runtime_.string();
  if (::mkdtemp(folder.data()) == nullptr || !haveProgram("dbus-daemon")) return;
  runtime_ = folder;
  g_setenv("XDG_RUNTIME_DIR", folder.c_str(), TRUE);  // for the services the bus starts
  g_test_dbus_add_service_dir(bus_, "/usr/share/dbus-1/services");
  g_test_dbus_up(bus_);
}

Bus::~Bus() {
  stop();
  g_object_unref(bus_);
  std::error_code ec;
  fs::remove_all(runtime_, ec);
}

std::string Bus::address() const {
  const char* a = g_test_dbus_get_bus_address(bus_);
  return a != nullptr ? a : "";
}

GDBusConnection* Bus::connect() const {
  return g_dbus_connection_new_for_address_sync(
      address().c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
}

void Bus::stop() {
  if (ok()) g_test_dbus_stop(bus_);
}

Compositor::Compositor(const fs::path& dir, const std::string& name, const std::vector<std::string>& argv,
                       std::map<std::string, std::string> env, const std::vector<std::string>& prefix)
    : runtime_(dir / (name + "-runtime")) {
  fs::create_directories(runtime_);
  if (!prefix.empty()) {
    ::chmod(dir.c_str(), 0755);  // reachable for the unprivileged compositor
    static_cast<void>(::chown(runtime_.c_str(), 65534, 65534));
  }
  ::chmod(runtime_.c_str(), 0700);
  env.insert({{"XDG_RUNTIME_DIR", runtime_.string()}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}});
  process_ =
      Process(argv, {.env = env, .out = {}, .err = dir / (name + ".log"), .passFd = {}, .prefix = prefix});
  eventually(
      [&] {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(runtime_, ec)) {
          const std::string file = e.path().filename().string();
          if (file.rfind("wayland-", 0) == 0 && file.find('.') == std::string::npos && e.is_socket()) {
            socket_ = file;
            return true;
          }
        }
        return !process_.running();
      },
      20);
  // The outputs are configured a moment after the socket is up.
  if (!socket_.empty()) ::usleep(300'000);
}

Compositor Compositor::sway(int width, int height, int scale, const fs::path& dir, int outputs) {
  const fs::path config = dir / "sway.conf";
  {
    std::ofstream out(config);
    for (int i = 0; i < outputs; ++i) {
      out << "output HEADLESS-" << i + 1 << " resolution " << width << "x" << height << " position "
          << i * width / scale << ",0 scale " << scale << "\n";
    }
    out << "xwayland disable\n";
  }
  ::chmod(config.c_str(), 0644);
  return {dir,
          "sway",
          {"sway", "-c", config.string()},
          {{"HOME", (dir / "sway-runtime").string()},
           {"WLR_BACKENDS", "headless"},
           {"WLR_HEADLESS_OUTPUTS", std::to_string(outputs)},
           {"WLR_RENDERER", "pixman"},
           {"WLR_LIBINPUT_NO_DEVICES", "1"}},
          ::geteuid() == 0
              ? std::vector<std::string>{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"}
              : std::vector<std::string>{}};
}

Compositor Compositor::weston(const fs::path& dir) {
  return {dir,
          "weston",
          {"weston", "--backend=headless-backend.so", "--socket=wayland-test", "--width=1280", "--height=800",
           "--idle-time=0"},
          {}};
}

Compositor Compositor::kwin(int width, int height, int scale, const fs::path& dir, const std::string& bus) {
  std::error_code ec;
  fs::copy_file("/usr/bin/kwin_wayland", dir / "kwin_wayland", ec);
  return {dir,
          "kwin",
          {(dir / "kwin_wayland").string(), "--virtual", "--no-lockscreen", "--socket", "wayland-test",
           "--width", std::to_string(width / scale), "--height", std::to_string(height / scale), "--scale",
           std::to_string(scale)},
          {{"XDG_CONFIG_HOME", (dir / "kwin-config").string()},
           {"HOME", dir.string()},
           {"DBUS_SESSION_BUS_ADDRESS", bus},
           {"QT_QPA_PLATFORM", ""}}};
}

std::map<std::string, std::string> Compositor::env() const {
  return {{"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", runtime_.string()}, {"GDK_BACKEND", "wayland"}};
}

}  // namespace ostrel::display_test
