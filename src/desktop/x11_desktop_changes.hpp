#pragma once
/// \file x11_desktop_changes.hpp
/// What changes under the widgets of an X11 screen while they stand: another window manager
/// takes over (it must be told again that they are sticky and kept below), a compositor starts or
/// stops (its `_NET_WM_CM_S<n>` selection: the windows change between an alpha visual and drawn
/// corners), the wallpaper changes (the root's `_XROOTPMAP_ID`: drawn corners show the new one).
/// Lives on the GLib main loop; GTK must be initialised on an X11 display.
///
///     X11DesktopChanges changes(display, {.manager = [&] { restate(); }, ...});

#include <functional>
#include <memory>

using GdkDisplay = struct _GdkDisplay;          // NOLINT(bugprone-reserved-identifier): the library's own tag
using cairo_surface_t = struct _cairo_surface;  // NOLINT(bugprone-reserved-identifier): the library's own tag

namespace ostrel::desktop {

struct DesktopChanged {
  std::function<void()> manager;     ///< a window manager took over
  std::function<void()> compositor;  ///< a compositor started or stopped
  std::function<void()> wallpaper;   ///< the root's background pixmap changed
};

class X11DesktopChanges {
 public:
  X11DesktopChanges(GdkDisplay* display, DesktopChanged changed);
  ~X11DesktopChanges();
  X11DesktopChanges(const X11DesktopChanges&) = delete;
  X11DesktopChanges& operator=(const X11DesktopChanges&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// The root's background pixmap (`_XROOTPMAP_ID`) on the display's default screen, as a Cairo
/// surface to draw from (owned by the caller), or null where there is none.
[[nodiscard]] cairo_surface_t* wallpaper(GdkDisplay* display);

}  // namespace ostrel::desktop
