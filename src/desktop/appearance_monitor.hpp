#pragma once
/// \file appearance_monitor.hpp
/// Follows the desktop's appearance while the host runs: asks the XDG desktop portal for
/// `org.freedesktop.appearance color-scheme` over the session bus and listens for its
/// `SettingChanged` signal, and watches GTK's dark-theme settings; calls back whenever the scheme
/// that `schemeFor` gives changes. With a fixed choice (`light`, `dark`) it watches nothing.
/// Lives on the GLib main loop of the thread that creates it; GTK must be initialised.
///
///     AppearanceMonitor m(SchemeChoice::automatic, [&](ColorScheme s) { windows.redraw(s); });
///     draw(m.scheme());

#include <functional>
#include <memory>

#include "desktop/scheme_preference.hpp"

namespace ostrel::desktop {

class AppearanceMonitor {
 public:
  using Changed = std::function<void(ColorScheme)>;
  AppearanceMonitor(SchemeChoice choice, Changed changed);
  ~AppearanceMonitor();
  AppearanceMonitor(const AppearanceMonitor&) = delete;
  AppearanceMonitor& operator=(const AppearanceMonitor&) = delete;

  /// The scheme now.
  [[nodiscard]] ColorScheme scheme() const;
  [[nodiscard]] SchemeChoice choice() const;
  /// Follows `choice` from now on (the user chose another appearance), calling back if the scheme
  /// changes.
  void choose(SchemeChoice choice);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace ostrel::desktop
