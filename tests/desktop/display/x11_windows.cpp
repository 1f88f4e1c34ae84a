#include "desktop/display/x11_windows.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <functional>

namespace ostrel::display_test {

namespace {

/// Runs `f` on a connection to `display`; `otherwise` when there is none.
template <class T>
T with(const std::string& display, T otherwise, const std::function<T(::Display*)>& f) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return otherwise;
  T result = f(d);
  XCloseDisplay(d);
  return result;
}

/// The items of a 32-bit property (as longs, the way Xlib hands them out).
std::vector<unsigned long> property(::Display* d, Window w, const char* name, Atom type) {
  std::vector<unsigned long> out;
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 64, False, type, &actual, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    if (format == 32)
      out.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    XFree(data);
  }
  return out;
}

/// The windows under `parent` (depth first) named `name`, whatever frames a window manager put
/// around them.
void named(::Display* d, Window parent, const std::string& name, std::vector<Window>& found) {
  char* title = nullptr;
  if (XFetchName(d, parent, &title) != 0 && title != nullptr) {
    if (name == title) found.push_back(parent);
    XFree(title);
  }
  Window root = 0, up = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, parent, &root, &up, &children, &n) == 0) return;
  for (unsigned int i = n; i > 0; --i) named(d, children[i - 1], name, found);
  if (children != nullptr) XFree(children);
}

unsigned long colourOf(Rgb c) {
  return (static_cast<unsigned long>(c.r) << 16) | (c.g << 8) | c.b;
}

}  // namespace

bool XWindow::has(const std::string& state) const {
  return std::find(states.begin(), states.end(), state) != states.end();
}

std::vector<XWindow> findWindows(const std::string& display, const std::string& name) {
  return with<std::vector<XWindow>>(display, {}, [&](::Display* d) {
    std::vector<Window> ids;
    named(d, DefaultRootWindow(d), name, ids);
    std::vector<XWindow> out;
    for (const Window id : ids) {
      XWindowAttributes a{};
      Window child = 0;
      XWindow w;
      w.id = id;
      if (XGetWindowAttributes(d, id, &a) == 0 || a.map_state != IsViewable ||
          XTranslateCoordinates(d, id, DefaultRootWindow(d), 0, 0, &w.x, &w.y, &child) == 0) {
        continue;
      }
      w.width = a.width;
      w.height = a.height;
      w.depth = a.depth;
      for (unsigned long atom : property(d, id, "_NET_WM_STATE", XA_ATOM)) {
        if (char* text = XGetAtomName(d, atom)) {
          w.states.emplace_back(text);
          XFree(text);
        }
      }
      if (XWMHints* hints = XGetWMHints(d, id)) {
        if ((hints->flags & InputHint) != 0) w.input = hints->input != 0;
        XFree(hints);
      }
      const auto motif = property(d, id, "_MOTIF_WM_HINTS", AnyPropertyType);
      if (motif.size() >= 3 && (motif[0] & 2) != 0)
        w.decorations = static_cast<long>(motif[2]);  // decorations set
      const auto desktop = property(d, id, "_NET_WM_DESKTOP", XA_CARDINAL);
      if (!desktop.empty()) w.desktop = desktop[0];
      out.push_back(w);
    }
    return out;
  });
}

std::optional<XWindow> findWindow(const std::string& display, const std::string& name) {
  const std::vector<XWindow> all = findWindows(display, name);
  return all.empty() ? std::nullopt : std::optional<XWindow>(all.front());
}

unsigned long activeWindow(const std::string& display) {
  return with<unsigned long>(display, 0, [](::Display* d) {
    const auto active = property(d, DefaultRootWindow(d), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.empty() ? 0UL : active[0];
  });
}

bool windowManagerRuns(const std::string& display) {
  return with<bool>(display, false, [](::Display* d) {
    return !property(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
  });
}

bool popupShown(const std::string& display) {
  return with<bool>(display, false, [](::Display* d) {
    bool shown = false;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) == 0) return false;
    for (unsigned int i = 0; i < n && !shown; ++i) {
      XWindowAttributes a{};
      shown = XGetWindowAttributes(d, children[i], &a) != 0 && a.override_redirect != 0 &&
              a.map_state == IsViewable && a.width > 1;
    }
    if (children != nullptr) XFree(children);
    return shown;
  });
}

Rgb pixelAt(const std::string& display, int x, int y) {
  const Image one = grabX11(display, x, y, 1, 1);
  return one.empty() ? Rgb{} : one.at(0, 0);
}

bool askToClose(const std::string& display, unsigned long id) {
  return with<bool>(display, false, [&](::Display* d) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = id;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(d, id, False, NoEventMask, &e) != 0;
    XFlush(d);
    return sent;
  });
}

bool paintDesktop(const std::string& display, Rgb colour, bool wallpaper) {
  return with<bool>(display, false, [&](::Display* d) {
    const Window root = DefaultRootWindow(d);
    const int screen = DefaultScreen(d);
    if (!wallpaper) {
      XSetWindowBackground(d, root, colourOf(colour));
    } else {
      const auto width = static_cast<unsigned>(DisplayWidth(d, screen)),
                 height = static_cast<unsigned>(DisplayHeight(d, screen));
      const Pixmap paper =
          XCreatePixmap(d, root, width, height, static_cast<unsigned>(DefaultDepth(d, screen)));
      GC gc = XCreateGC(d, paper, 0, nullptr);
      XSetForeground(d, gc, colourOf(colour));
      XFillRectangle(d, paper, gc, 0, 0, width, height);
      XFreeGC(d, gc);
      XSetWindowBackgroundPixmap(d, root, paper);
      XChangeProperty(d, root, XInternAtom(d, "_XROOTPMAP_ID", False), XA_PIXMAP, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&paper), 1);
      XSetCloseDownMode(d, RetainPermanent);
    }
    XClearWindow(d, root);
    XSync(d, False);
    return true;
  });
}

PlainWindow::PlainWindow(const std::string& display, int x, int y, int width, int height, Rgb colour,
                         bool desktop)
    : display_(XOpenDisplay(display.c_str())) {
  if (display_ == nullptr) return;
  ::Display* d = display_;
  const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height), 0, 0, colourOf(colour));
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  hints.x = x;
  hints.y = y;
  hints.width = width;
  hints.height = height;
  XSetWMNormalHints(d, w, &hints);
  if (desktop) {
    const Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
  }
  XStoreName(d, w, desktop ? "desktop" : "window");
  XMapWindow(d, w);
  XSync(d, False);
}

PlainWindow::~PlainWindow() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

}  // namespace ostrel::display_test
