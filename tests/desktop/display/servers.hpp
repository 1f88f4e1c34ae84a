#pragma once
/// \file servers.hpp
/// The servers the desktop tests run the host on, each started by the test and stopped with it:
/// Xvfb (X11, no window manager, no compositor), sway's headless backend (Wayland with
/// layer-shell, drawn by pixman), weston's headless backend (Wayland without layer-shell), and
/// private message buses (GLib's test bus), through which GTK finds the AT-SPI registry and the
/// appearance portal.
///
/// A server whose program is missing skips the test, unless OSTREL_REQUIRE_DISPLAY_TESTS=1 (set by
/// CI), where it fails it.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace ostrel::display_test {

using namespace test_support;  // Process, runToEnd, eventually: the harness every test shares

/// Skips or fails (see above) the current test when `program` is missing.
#define OSTREL_NEED_PROGRAM(program)                                                                        \
  do {                                                                                                      \
    if (!::ostrel::display_test::haveProgram(program)) {                                                    \
      if (g_strcmp0(g_getenv("OSTREL_REQUIRE_DISPLAY_TESTS"), "1") == 0) FAIL() << "missing " << (program); \
      GTEST_SKIP() << "missing " << (program) << " (OSTREL_REQUIRE_DISPLAY_TESTS=1 fails instead)";         \
    }                                                                                                       \
  } while (false)

/// Reads what `path` holds (empty when it cannot).
[[nodiscard]] std::string readFile(const std::filesystem::path& path);
/// What `gdbus call` prints for `args` (--dest, --object-path, --method and its arguments) on the
/// bus at `address`; empty when the call fails.
[[nodiscard]] std::string busCall(const std::string& address, std::vector<std::string> args);

/// An X server in memory, `width` × `height` × 24 with a black root; `display()` is ":N".
class Xvfb {
 public:
  Xvfb(int width, int height, const std::filesystem::path& logDir);
  [[nodiscard]] const std::string& display() const { return display_; }
  [[nodiscard]] bool ok() const { return !display_.empty(); }

 private:
  Process process_;
  std::string display_;
};

/// A private message bus that activates the session's services (the accessibility bus among them)
/// with a runtime folder of their own, apart from any other test's; this process's
/// DBUS_SESSION_BUS_ADDRESS and XDG_RUNTIME_DIR name them from its start on.
class Bus {
 public:
  Bus();
  ~Bus();
  Bus(const Bus&) = delete;
  Bus& operator=(const Bus&) = delete;
  [[nodiscard]] std::string address() const;
  [[nodiscard]] bool ok() const { return !address().empty(); }
  /// A new connection to it (a reference to unref), or null.
  [[nodiscard]] GDBusConnection* connect() const;
  /// Ends the bus before the object goes.
  void stop();

 private:
  std::filesystem::path runtime_;
  GTestDBus* bus_;
};

/// A Wayland compositor with a runtime folder of its own in `dir` and its log there as NAME.log:
/// sway's headless backend (layer-shell) with `outputs` outputs (HEADLESS-1, HEADLESS-2... side by
/// side) of `width` × `height` pixels at `scale`, run as the unprivileged user `nobody` when the
/// tests run as root (sway refuses root); weston's headless backend (no layer-shell), 1280 × 800;
/// or KWin's virtual backend on the bus at `bus`, run from a copy of its binary (which carries a
/// file capability that containers refuse to grant).
class Compositor {
 public:
  static Compositor sway(int width, int height, int scale, const std::filesystem::path& dir, int outputs = 1);
  static Compositor weston(const std::filesystem::path& dir);
  static Compositor kwin(int width, int height, int scale, const std::filesystem::path& dir,
                         const std::string& bus);
  [[nodiscard]] bool ok() const { return !socket_.empty(); }
  /// WAYLAND_DISPLAY and XDG_RUNTIME_DIR for its clients, and GDK_BACKEND.
  [[nodiscard]] std::map<std::string, std::string> env() const;

 private:
  Compositor(const std::filesystem::path& dir, const std::string& name, const std::vector<std::string>& argv,
             std::map<std::string, std::string> env, const std::vector<std::string>& prefix = {});
  Process process_;
  std::filesystem::path runtime_;
  std::string socket_;
};

}  // namespace ostrel::display_test
