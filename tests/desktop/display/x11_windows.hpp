#pragma once
/// \file x11_windows.hpp
/// An X screen as the user, a window manager or another client sees it: the top-level windows a
/// client put there (read by xdotool, xwininfo and xprop), what the screen shows, and acting on it.
#include <optional>
#include <string>
#include <vector>

#include "desktop/display/images.hpp"

struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own tag

namespace ostrel::display_test {

struct XWindow {
  unsigned long id = 0;
  int x = 0, y = 0, width = 0, height = 0;  ///< on the screen
  int depth = 0;
  std::string properties;  ///< as xprop prints them
  [[nodiscard]] bool has(const std::string& property) const {
    return properties.find(property) != std::string::npos;
  }
};

/// The viewable client windows named `name` on `display` (within a window manager's frame or not).
[[nodiscard]] std::vector<XWindow> findWindows(const std::string& display, const std::string& name);
/// The first of them, if any.
[[nodiscard]] std::optional<XWindow> findWindow(const std::string& display, const std::string& name);

/// The window manager's active window (0: none named).
[[nodiscard]] unsigned long activeWindow(const std::string& display);
/// Whether a pop-up (a viewable override-redirect window, such as an open menu) is on the screen.
[[nodiscard]] bool popupShown(const std::string& display);
/// The rectangle of the screen; empty when it cannot be read.
[[nodiscard]] Image grabX11(const std::string& display, int x, int y, int width, int height);
/// The colour the screen shows at one point.
[[nodiscard]] Rgb pixelAt(const std::string& display, int x, int y);

/// Sends the window the WM_DELETE_WINDOW message, as a window manager's close does.
bool askToClose(const std::string& display, unsigned long id);
/// Paints the root window `colour`; as the `wallpaper`, a pixmap named by `_XROOTPMAP_ID` (kept
/// after this connection closes), as desktop programs set it.
bool paintDesktop(const std::string& display, Rgb colour, bool wallpaper);

/// A window of one colour owned by a connection of its own, there until destroyed: an ordinary
/// application's window, or (`desktop`) a file manager's desktop window.
class PlainWindow {
 public:
  PlainWindow(const std::string& display, int x, int y, int width, int height, Rgb colour, bool desktop);
  ~PlainWindow();
  PlainWindow(const PlainWindow&) = delete;
  PlainWindow& operator=(const PlainWindow&) = delete;

 private:
  _XDisplay* display_;
};

}  // namespace ostrel::display_test
