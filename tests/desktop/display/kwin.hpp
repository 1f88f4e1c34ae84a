#pragma once
/// \file kwin.hpp
/// KWin (Plasma's compositor) on its virtual backend, started by the test on its own session bus:
/// a Wayland compositor with layer-shell. It runs from a copy of its binary, which carries a file
/// capability that containers refuse to grant.
#include <gio/gio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "desktop/display/images.hpp"
#include "desktop/display/servers.hpp"
#include "support/process.hpp"

namespace ostrel::display_test {

class Kwin {
 public:
  Kwin(int width, int height, int scale, const std::filesystem::path& dir);
  ~Kwin();
  Kwin(const Kwin&) = delete;
  Kwin& operator=(const Kwin&) = delete;

  [[nodiscard]] bool ok() const { return bus_ != nullptr; }
  [[nodiscard]] const std::string& busAddress() const { return session_.address(); }
  [[nodiscard]] const std::filesystem::path& runtimeDir() const { return runtime_; }
  [[nodiscard]] static const char* socket() { return "wayland-test"; }

  /// The screen in device pixels, through KWin's screenshot service.
  [[nodiscard]] Image screenshot();
  /// One line per window as a KWin script reads it: a JSON object of `properties`.
  [[nodiscard]] std::vector<std::string> windows(const std::vector<std::string>& properties);

 private:
  std::filesystem::path dir_, runtime_;
  SessionBus session_;
  Process kwin_;
  GDBusConnection* bus_ = nullptr;
  int width_, height_;  ///< points
  int scripts_ = 0;
};

}  // namespace ostrel::display_test
