#pragma once
/// \file x11_windows.hpp
/// Reading back, with Xlib, the top-level windows a client put on an X screen without a window
/// manager: where they stand, the hints they carry; asking one to close as a window manager
/// would (WM_DELETE_WINDOW); and giving the desktop a colour of its own.
#include <optional>
#include <string>
#include <vector>

#include "host/desktop/display/images.hpp"

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
};

/// The viewable top-level window named `name` on `display`, if any.
[[nodiscard]] std::optional<XWindow> findWindow(const std::string& display, const std::string& name);

/// How many viewable top-level windows on `display` are named `name` (-1: no display).
[[nodiscard]] int countWindows(const std::string& display, const std::string& name);

/// Sends the window the WM_DELETE_WINDOW message; whether it could be sent.
bool askToClose(const std::string& display, unsigned long id);

/// Fills the root window of a 24-bit true-colour screen with `colour`; whether it could.
bool paintDesktop(const std::string& display, Rgb colour);

}  // namespace ostrel::display_test
