#pragma once
/// \file gnome_shell.hpp
/// GNOME Shell headless on a virtual monitor, started by the test with everything it
/// needs: its own session bus, a second bus where it looks for the system's services, private XDG
/// folders, settings in a keyfile (the test writes them before the shell starts and may rewrite
/// them while it runs) and the extension built beside the tests put in place.
#include <gio/gio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "desktop/display/images.hpp"
#include "desktop/display/servers.hpp"
#include "support/process.hpp"

namespace ostrel::display_test {

inline constexpr const char* kExtensionUuid = "ostrel-widgets@ostrel.app";

class GnomeShell {
 public:
  /// `settings`: the keyfile's text (groups such as [org/gnome/shell]).
  GnomeShell(const std::filesystem::path& dir, const std::string& settings, int width, int height);
  ~GnomeShell();
  GnomeShell(const GnomeShell&) = delete;
  GnomeShell& operator=(const GnomeShell&) = delete;

  [[nodiscard]] bool ok() const { return bus_ != nullptr; }
  [[nodiscard]] const std::string& busAddress() const { return session_.address(); }
  [[nodiscard]] const std::filesystem::path& runtimeDir() const { return runtime_; }
  void writeSettings(const std::string& settings) const;

  /// A method call on the shell's bus (`params` is consumed); the reply, or null.
  GVariant* call(const char* path, const char* interface, const char* method, GVariant* params,
                 const char* destination = "org.gnome.Shell");
  [[nodiscard]] bool overview();
  /// Shows or leaves the overview, and waits for it to settle.
  bool setOverview(bool shown);
  /// The whole screen, as the shell draws it.
  [[nodiscard]] Image screenshot();
  /// How many windows the shell manages (the ones alt-tab, the dock and the overview list).
  [[nodiscard]] int windowCount();
  /// The process ids of the engines the extension runs.
  [[nodiscard]] std::vector<int> engines() const;

 private:
  std::filesystem::path dir_, runtime_;
  SessionBus system_, session_;
  Process shell_;
  GDBusConnection* bus_ = nullptr;
  int shots_ = 0;
};

}  // namespace ostrel::display_test
