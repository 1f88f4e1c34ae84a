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

bool displayTestsRequired() {
  const char* v = std::getenv("OSTREL_REQUIRE_DISPLAY_TESTS");
  return v != nullptr && std::string(v) == "1";
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

namespace {

/// The first line a server writes to the pipe it was given, within `seconds`.
std::string firstLine(int fd, double seconds) {
  std::string line;
  const double end = monotonic() + seconds;
  while (monotonic() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char c = 0;
    if (::read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return {};
}

/// A pipe a server writes to when it is ready; the child gets the write end as descriptor 3.
struct ReadyPipe {
  int read = -1, write = -1;
  ReadyPipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    read = fds[0];
    write = fds[1];
  }
  ~ReadyPipe() {
    if (read >= 0) ::close(read);
    if (write >= 0) ::close(write);
  }
  ReadyPipe(const ReadyPipe&) = delete;
  ReadyPipe& operator=(const ReadyPipe&) = delete;
  [[nodiscard]] std::pair<int, int> forChild() const { return {write, 3}; }
};

}  // namespace

Xvfb::Xvfb(int width, int height, const fs::path& logDir) {
  ReadyPipe ready;
  process_ = Process(
      {"Xvfb", "-displayfd", "3", "-screen", "0",
       std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-br", "-noreset"},
      {.env = {}, .out = {}, .err = logDir / "xvfb.log", .passFd = ready.forChild(), .prefix = {}});
  const std::string n = firstLine(ready.read, 20);
  if (!n.empty()) display_ = ":" + n;
}

GDBusConnection* busAt(const std::string& address) {
  return g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
}

SessionBus::SessionBus(const fs::path& logDir) {
  ReadyPipe ready;
  process_ =
      Process({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=3"},
              {.env = {}, .out = {}, .err = logDir / "dbus.log", .passFd = ready.forChild(), .prefix = {}});
  address_ = firstLine(ready.read, 20);
}

Sway::Sway(int width, int height, int scale, const fs::path& dir, int outputs) {
  runtime_ = dir / "runtime";
  fs::create_directories(runtime_);
  const bool root = ::geteuid() == 0;
  if (root) {
    // The test's folder must be reachable for the unprivileged compositor.
    ::chmod(dir.c_str(), 0755);
    if (::chown(runtime_.c_str(), 65534, 65534) != 0) return;
  }
  ::chmod(runtime_.c_str(), 0700);
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
  std::vector<std::string> prefix;
  if (root) prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  process_ =
      Process({"sway", "-c", config.string()}, {.env = {{"XDG_RUNTIME_DIR", runtime_.string()},
                                                        {"HOME", runtime_.string()},
                                                        {"WLR_BACKENDS", "headless"},
                                                        {"WLR_HEADLESS_OUTPUTS", std::to_string(outputs)},
                                                        {"WLR_RENDERER", "pixman"},
                                                        {"WLR_LIBINPUT_NO_DEVICES", "1"},
                                                        {"WAYLAND_DISPLAY", ""},
                                                        {"DISPLAY", ""}},
                                                .out = {},
                                                .err = dir / "sway.log",
                                                .passFd = std::nullopt,
                                                .prefix = prefix});
  eventually(
      [&] {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(runtime_, ec)) {
          const std::string name = e.path().filename().string();
          if (name.rfind("wayland-", 0) == 0 && name.find('.') == std::string::npos && e.is_socket()) {
            socket_ = name;
            return true;
          }
        }
        return !process_.running();
      },
      20);
  // The output is configured once the IPC socket is up too; give it that moment.
  if (!socket_.empty()) ::usleep(300'000);
}

Weston::Weston(const fs::path& dir) {
  runtime_ = dir / "weston-runtime";
  fs::create_directories(runtime_);
  ::chmod(runtime_.c_str(), 0700);
  process_ =
      Process({"weston", "--backend=headless-backend.so", "--socket=wayland-test", "--width=1280",
               "--height=800", "--idle-time=0"},
              {.env = {{"XDG_RUNTIME_DIR", runtime_.string()}, {"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}},
               .out = {},
               .err = dir / "weston.log",
               .passFd = std::nullopt,
               .prefix = {}});
  if (eventually([&] { return fs::exists(runtime_ / "wayland-test") || !process_.running(); }, 20) &&
      fs::exists(runtime_ / "wayland-test")) {
    socket_ = "wayland-test";
  }
}

}  // namespace ostrel::display_test
