#include "desktop/x11_desktop_changes.hpp"

#include <X11/Xatom.h>
#include <cairo-xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <utility>

namespace ostrel::desktop {

struct X11DesktopChanges::State {
  State(GdkDisplay* d, DesktopChanged c) : display(d), changed(std::move(c)) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  GdkDisplay* display;
  DesktopChanged changed;
  GdkScreen* screen = nullptr;
  GdkWindow* root = nullptr;
  Atom rootPixmap = None, managerCheck = None;
  gulong compositorHandler = 0;
  guint settle = 0;
  static void onCompositor(GdkScreen*, gpointer self) {
    auto* s = static_cast<State*>(self);
    if (s->changed.compositor) s->changed.compositor();
  }
  static GdkFilterReturn onRootEvent(GdkXEvent* xevent, GdkEvent*, gpointer self) {
    auto* s = static_cast<State*>(self);
    const auto* e = static_cast<const XEvent*>(xevent);
    if (e->type != PropertyNotify) return GDK_FILTER_CONTINUE;
    if (e->xproperty.atom == s->rootPixmap && s->changed.wallpaper) s->changed.wallpaper();
    if (e->xproperty.atom == s->managerCheck && e->xproperty.state == PropertyNewValue) {
      // A manager names its check window as it takes over, before it has adopted every window:
      // tell it once it has settled.
      if (s->settle != 0) g_source_remove(s->settle);
      s->settle = g_timeout_add(
          500,
          [](gpointer p) -> gboolean {
            auto* st = static_cast<State*>(p);
            st->settle = 0;
            if (st->changed.manager) st->changed.manager();
            return G_SOURCE_REMOVE;
          },
          s);
    }
    return GDK_FILTER_CONTINUE;
  }

  ~State() {
    if (settle != 0) g_source_remove(settle);
    if (root != nullptr) gdk_window_remove_filter(root, onRootEvent, this);
    if (screen != nullptr) {
      if (compositorHandler != 0) g_signal_handler_disconnect(screen, compositorHandler);
    }
  }
};

X11DesktopChanges::X11DesktopChanges(GdkDisplay* display, DesktopChanged changed)
    : state_(std::make_unique<State>(display, std::move(changed))) {
  State& s = *state_;
  if (!GDK_IS_X11_DISPLAY(display)) return;
  s.screen = gdk_display_get_default_screen(display);
  // GDK watches the compositor's selection itself; the manager's check window and the wallpaper
  // are the root's properties.
  s.compositorHandler = g_signal_connect(s.screen, "composited-changed", G_CALLBACK(State::onCompositor), &s);
  s.root = gdk_screen_get_root_window(s.screen);
  s.rootPixmap = gdk_x11_get_xatom_by_name_for_display(display, "_XROOTPMAP_ID");
  s.managerCheck = gdk_x11_get_xatom_by_name_for_display(display, "_NET_SUPPORTING_WM_CHECK");
  gdk_window_set_events(s.root,
                        static_cast<GdkEventMask>(gdk_window_get_events(s.root) | GDK_PROPERTY_CHANGE_MASK));
  gdk_window_add_filter(s.root, State::onRootEvent, &s);
}

X11DesktopChanges::~X11DesktopChanges() = default;

cairo_surface_t* wallpaper(GdkDisplay* display) {
  if (!GDK_IS_X11_DISPLAY(display)) return nullptr;
  Display* x = gdk_x11_display_get_xdisplay(display);
  const Window root = DefaultRootWindow(x);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Pixmap pixmap = None;
  gdk_x11_display_error_trap_push(display);
  if (XGetWindowProperty(x, root, gdk_x11_get_xatom_by_name_for_display(display, "_XROOTPMAP_ID"), 0, 1,
                         False, XA_PIXMAP, &type, &format, &count, &after, &data) == Success &&
      data != nullptr) {
    if (type == XA_PIXMAP && format == 32 && count == 1) pixmap = *reinterpret_cast<Pixmap*>(data);
    XFree(data);
  }
  Window r = None;
  int px = 0, py = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  const bool sized =
      pixmap != None && XGetGeometry(x, pixmap, &r, &px, &py, &width, &height, &border, &depth) != 0;
  const bool failed = gdk_x11_display_error_trap_pop(display) != 0;
  if (!sized || failed || static_cast<int>(depth) != DefaultDepth(x, DefaultScreen(x))) return nullptr;
  return cairo_xlib_surface_create(x, pixmap, DefaultVisual(x, DefaultScreen(x)), static_cast<int>(width),
                                   static_cast<int>(height));
}

}  // namespace ostrel::desktop
