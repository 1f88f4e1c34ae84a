#include "desktop/display/x11_windows.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ostrel::display_test {

namespace {

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
    if (format == 32) {
      const auto* items = reinterpret_cast<const unsigned long*>(data);
      out.assign(items, items + count);
    }
    XFree(data);
  }
  return out;
}

}  // namespace

namespace {

/// The window named `name` under `parent` (depth first), whatever frames a window manager put
/// around it.
Window named(::Display* d, Window parent, const std::string& name) {
  char* title = nullptr;
  if (XFetchName(d, parent, &title) != 0 && title != nullptr) {
    const bool match = name == title;
    XFree(title);
    if (match) return parent;
  }
  Window root = 0, up = 0, found = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, parent, &root, &up, &children, &n) == 0) return 0;
  for (unsigned int i = n; i > 0 && found == 0; --i) found = named(d, children[i - 1], name);
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

std::optional<XWindow> findWindow(const std::string& display, const std::string& name) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return std::nullopt;
  std::optional<XWindow> found;
  const Window id = named(d, DefaultRootWindow(d), name);
  XWindowAttributes a{};
  Window child = 0;
  int x = 0, y = 0;
  if (id != 0 && XGetWindowAttributes(d, id, &a) != 0 && a.map_state == IsViewable &&
      XTranslateCoordinates(d, id, DefaultRootWindow(d), 0, 0, &x, &y, &child) != 0) {
    XWindow w{.id = id,
              .name = name,
              .x = x,
              .y = y,
              .width = a.width,
              .height = a.height,
              .viewable = true,
              .depth = a.depth,
              .states = {},
              .input = {},
              .decorations = {},
              .desktop = {},
              .type = {}};
    for (unsigned long atom : property(d, id, "_NET_WM_STATE", XA_ATOM)) {
      char* text = XGetAtomName(d, atom);
      if (text != nullptr) {
        w.states.emplace_back(text);
        XFree(text);
      }
    }
    if (XWMHints* hints = XGetWMHints(d, id)) {
      if ((hints->flags & InputHint) != 0) w.input = hints->input != 0;
      XFree(hints);
    }
    const auto motif = property(d, id, "_MOTIF_WM_HINTS", AnyPropertyType);
    constexpr unsigned long kDecorationsFlag = 2;
    if (motif.size() >= 3 && (motif[0] & kDecorationsFlag) != 0) w.decorations = static_cast<long>(motif[2]);
    const auto desktop = property(d, id, "_NET_WM_DESKTOP", XA_CARDINAL);
    if (!desktop.empty()) w.desktop = desktop[0];
    for (unsigned long atom : property(d, id, "_NET_WM_WINDOW_TYPE", XA_ATOM)) {
      char* text = XGetAtomName(d, atom);
      if (text != nullptr) {
        w.type = text;
        XFree(text);
        break;
      }
    }
    found = w;
  }
  XCloseDisplay(d);
  return found;
}

std::optional<unsigned long> activeWindow(const std::string& display) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return std::nullopt;
  const auto active = property(d, DefaultRootWindow(d), "_NET_ACTIVE_WINDOW", XA_WINDOW);
  XCloseDisplay(d);
  if (active.empty()) return std::nullopt;
  return active[0];
}

bool setWallpaper(const std::string& display, Rgb colour) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  const Window root = DefaultRootWindow(d);
  const int screen = DefaultScreen(d);
  const auto width = static_cast<unsigned>(DisplayWidth(d, screen)),
             height = static_cast<unsigned>(DisplayHeight(d, screen));
  const Pixmap paper = XCreatePixmap(d, root, width, height, static_cast<unsigned>(DefaultDepth(d, screen)));
  GC gc = XCreateGC(d, paper, 0, nullptr);
  XSetForeground(d, gc, (static_cast<unsigned long>(colour.r) << 16) | (colour.g << 8) | colour.b);
  XFillRectangle(d, paper, gc, 0, 0, width, height);
  XFreeGC(d, gc);
  XSetWindowBackgroundPixmap(d, root, paper);
  XClearWindow(d, root);
  XChangeProperty(d, root, XInternAtom(d, "_XROOTPMAP_ID", False), XA_PIXMAP, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&paper), 1);
  XSetCloseDownMode(d, RetainPermanent);
  XSync(d, False);
  XCloseDisplay(d);
  return true;
}

bool popupShown(const std::string& display) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  bool shown = false;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) != 0) {
    for (unsigned int i = 0; i < n && !shown; ++i) {
      XWindowAttributes a{};
      shown = XGetWindowAttributes(d, children[i], &a) != 0 && a.override_redirect != 0 &&
              a.map_state == IsViewable && a.width > 1;
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(d);
  return shown;
}

bool windowManagerRuns(const std::string& display) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  const bool runs = !property(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
  XCloseDisplay(d);
  return runs;
}

Rgb pixelAt(const std::string& display, int x, int y) {
  const Image one = grabX11(display, x, y, 1, 1);
  return one.empty() ? Rgb{} : one.at(0, 0);
}

PlainWindow::PlainWindow(const std::string& display, Place place, Rgb colour, bool desktop)
    : display_(XOpenDisplay(display.c_str())) {
  if (display_ == nullptr) return;
  ::Display* d = display_;
  const Window w =
      XCreateSimpleWindow(d, DefaultRootWindow(d), place.x, place.y, static_cast<unsigned>(place.width),
                          static_cast<unsigned>(place.height), 0, 0,
                          (static_cast<unsigned long>(colour.r) << 16) | (colour.g << 8) | colour.b);
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  hints.x = place.x;
  hints.y = place.y;
  hints.width = place.width;
  hints.height = place.height;
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

bool askToClose(const std::string& display, unsigned long id) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = id;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(d, id, False, NoEventMask, &e) != 0;
  XFlush(d);
  XCloseDisplay(d);
  return sent;
}

bool paintDesktop(const std::string& display, Rgb colour) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  const Window root = DefaultRootWindow(d);
  XSetWindowBackground(d, root, (static_cast<unsigned long>(colour.r) << 16) | (colour.g << 8) | colour.b);
  XClearWindow(d, root);
  XSync(d, False);
  XCloseDisplay(d);
  return true;
}

int countWindows(const std::string& display, const std::string& name) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return -1;
  int count = 0;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) != 0) {
    for (unsigned int i = 0; i < n; ++i) {
      char* title = nullptr;
      XWindowAttributes a{};
      if (XFetchName(d, children[i], &title) == 0 || title == nullptr) continue;
      if (name == title && XGetWindowAttributes(d, children[i], &a) != 0 && a.map_state == IsViewable)
        ++count;
      XFree(title);
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(d);
  return count;
}

}  // namespace ostrel::display_test
