#include "host/desktop/display/x11_windows.hpp"

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

std::optional<XWindow> findWindow(const std::string& display, const std::string& name) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return std::nullopt;
  std::optional<XWindow> found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) != 0) {
    for (unsigned int i = 0; i < n && !found; ++i) {
      char* title = nullptr;
      if (XFetchName(d, children[i], &title) == 0 || title == nullptr) continue;
      const bool match = name == title;
      XFree(title);
      XWindowAttributes a{};
      if (!match || XGetWindowAttributes(d, children[i], &a) == 0 || a.map_state != IsViewable) continue;
      XWindow w{.id = children[i],
                .name = name,
                .x = a.x,
                .y = a.y,
                .width = a.width,
                .height = a.height,
                .viewable = true,
                .depth = a.depth,
                .states = {},
                .input = {},
                .decorations = {},
                .desktop = {}};
      for (unsigned long atom : property(d, children[i], "_NET_WM_STATE", XA_ATOM)) {
        char* text = XGetAtomName(d, atom);
        if (text != nullptr) {
          w.states.emplace_back(text);
          XFree(text);
        }
      }
      if (XWMHints* hints = XGetWMHints(d, children[i])) {
        if ((hints->flags & InputHint) != 0) w.input = hints->input != 0;
        XFree(hints);
      }
      const auto motif = property(d, children[i], "_MOTIF_WM_HINTS", AnyPropertyType);
      constexpr unsigned long kDecorationsFlag = 2;
      if (motif.size() >= 3 && (motif[0] & kDecorationsFlag) != 0)
        w.decorations = static_cast<long>(motif[2]);
      const auto desktop = property(d, children[i], "_NET_WM_DESKTOP", XA_CARDINAL);
      if (!desktop.empty()) w.desktop = desktop[0];
      found = w;
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(d);
  return found;
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
