#pragma once
/// \file x11_windows.hpp
/// Reading back, with Xlib, the top-level windows a client put on an X screen without a window
/// manager or under one: where they stand, the hints they carry; asking one to close as a window
/// manager would (WM_DELETE_WINDOW); giving the desktop a colour of its own; and plain windows of
/// one colour standing for other clients.
#include <optional>
#include <string>
#include <vector>

#include "desktop/display/images.hpp"

struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own tag

namespace ostrel::display_test {

struct XWindow {
  unsigned long id = 0;
  std::string name;  ///< WM_NAME
  int x = 0, y = 0, width = 0, height = 0;
  bool viewable = false;
  int depth = 0;
  std::vector<std::string> states;       ///< _NET_WM_STATE atoms
  std::optional<bool> input;             ///< WM_HINTS' input field
  std::optional<long> decorations;       ///< _MOTIF_WM_HINTS' decorations, when it sets them
  std::optional<unsigned long> desktop;  ///< _NET_WM_DESKTOP
  std::string type;                      ///< the first _NET_WM_WINDOW_TYPE atom
};

/// The viewable client window named `name` on `display` (within a window manager's frame or
/// not), if any, with its position on the screen.
[[nodiscard]] std::optional<XWindow> findWindow(const std::string& display, const std::string& name);

/// How many viewable top-level windows on `display` are named `name` (-1: no display).
[[nodiscard]] int countWindows(const std::string& display, const std::string& name);

/// Sends the window the WM_DELETE_WINDOW message; whether it could be sent.
bool askToClose(const std::string& display, unsigned long id);

/// Fills the root window of a 24-bit true-colour screen with `colour`; whether it could.
bool paintDesktop(const std::string& display, Rgb colour);

/// The window manager's active window, if it names one.
[[nodiscard]] std::optional<unsigned long> activeWindow(const std::string& display);

/// Sets the wallpaper as desktop programs do: a pixmap of `colour` as the root's background, named
/// by `_XROOTPMAP_ID` (kept when this connection closes); whether it could.
bool setWallpaper(const std::string& display, Rgb colour);

/// Whether a pop-up (a viewable override-redirect window, such as an open menu) is on the screen.
[[nodiscard]] bool popupShown(const std::string& display);

/// Whether an EWMH window manager runs (the root names its check window).
[[nodiscard]] bool windowManagerRuns(const std::string& display);

/// The colour the screen shows at one point.
[[nodiscard]] Rgb pixelAt(const std::string& display, int x, int y);

struct Place {
  int x = 0, y = 0, width = 0, height = 0;
};

/// A window of one colour owned by a connection of its own, there until destroyed: an ordinary
/// application's window, or (`desktop`) a file manager's desktop window.
class PlainWindow {
 public:
  PlainWindow(const std::string& display, Place place, Rgb colour, bool desktop);
  ~PlainWindow();
  PlainWindow(const PlainWindow&) = delete;
  PlainWindow& operator=(const PlainWindow&) = delete;

 private:
  _XDisplay* display_;
};

}  // namespace ostrel::display_test
