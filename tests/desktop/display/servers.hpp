#pragma once
/// \file servers.hpp
/// The display servers the desktop tests run the host on, each started by the test and stopped
/// with it: Xvfb (X11, no window manager, no compositor), sway's headless backend (Wayland with
/// layer-shell, drawn by pixman), weston's headless backend (Wayland without layer-shell), a
/// private D-Bus session bus (through which GTK finds the AT-SPI
/// registry and the appearance portal).
///
/// A server whose program is missing skips the test, unless OSTREL_REQUIRE_DISPLAY_TESTS=1 (set by
/// CI), where it fails it.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/process.hpp"

namespace ostrel::display_test {

using namespace test_support;  // Process, runToEnd, eventually: the harness every test shares

/// Whether a missing server fails the test instead of skipping it.
[[nodiscard]] bool displayTestsRequired();

/// Skips or fails (see above) the current test when `program` is missing; use as
/// `if (missing("Xvfb")) return;`.
#define OSTREL_NEED_PROGRAM(program)                                                                \
  do {                                                                                              \
    if (!::ostrel::display_test::haveProgram(program)) {                                            \
      if (::ostrel::display_test::displayTestsRequired()) FAIL() << "missing " << (program);        \
      GTEST_SKIP() << "missing " << (program) << " (OSTREL_REQUIRE_DISPLAY_TESTS=1 fails instead)"; \
    }                                                                                               \
  } while (false)

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

/// A private session bus; `address()` for DBUS_SESSION_BUS_ADDRESS. Services it starts on demand
/// (the accessibility bus and registry) end with it.
class SessionBus {
 public:
  explicit SessionBus(const std::filesystem::path& logDir);
  [[nodiscard]] const std::string& address() const { return address_; }
  [[nodiscard]] bool ok() const { return !address_.empty(); }

 private:
  Process process_;
  std::string address_;
};

/// A new connection to the message bus at `address` (a reference to unref), or null.
[[nodiscard]] GDBusConnection* busAt(const std::string& address);

/// sway on its headless backend with `outputs` outputs (HEADLESS-1, HEADLESS-2... side by side) of
/// `width` × `height` pixels at `scale`, run as the unprivileged user `nobody` when the tests run as
/// root (sway refuses to run as root).
class Sway {
 public:
  Sway(int width, int height, int scale, const std::filesystem::path& dir, int outputs = 1);
  [[nodiscard]] bool ok() const { return !socket_.empty(); }
  /// WAYLAND_DISPLAY and XDG_RUNTIME_DIR for clients.
  [[nodiscard]] const std::string& socket() const { return socket_; }
  [[nodiscard]] const std::filesystem::path& runtimeDir() const { return runtime_; }

 private:
  Process process_;
  std::filesystem::path runtime_;
  std::string socket_;
};

/// weston on its headless backend: a Wayland compositor without layer-shell.
class Weston {
 public:
  explicit Weston(const std::filesystem::path& dir);
  [[nodiscard]] bool ok() const { return !socket_.empty(); }
  [[nodiscard]] const std::string& socket() const { return socket_; }
  [[nodiscard]] const std::filesystem::path& runtimeDir() const { return runtime_; }

 private:
  Process process_;
  std::filesystem::path runtime_;
  std::string socket_;
};

/// Reads what `path` holds (empty when it cannot).
[[nodiscard]] std::string readFile(const std::filesystem::path& path);

}  // namespace ostrel::display_test
