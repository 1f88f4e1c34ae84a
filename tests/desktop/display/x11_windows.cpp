#include "desktop/display/x11_windows.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "support/process.hpp"

namespace ostrel::display_test {

namespace {

/// A connection to `display` (null when there is none), closed when it goes.
std::unique_ptr<::Display, int (*)(::Display*)> open(const std::string& display) {
  return {XOpenDisplay(display.c_str()), XCloseDisplay};
}

/// What `argv` prints on `display` (empty when it fails).
std::string output(const std::string& display, const std::vector<std::string>& argv) {
  const test_support::Outcome o = test_support::capture(
      argv, {.env = {{"DISPLAY", display}}, .out = {}, .err = {}, .passFd = {}, .prefix = {}});
  return o.status == 0 ? o.out : "";
}

unsigned long colourOf(Rgb c) {
  return (static_cast<unsigned long>(c.r) << 16) | (c.g << 8) | c.b;
}

}  // namespace

std::vector<XWindow> findWindows(const std::string& display, const std::string& name) {
  std::vector<XWindow> out;
  std::istringstream ids(output(display, {"xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"}));
  for (unsigned long id = 0; ids >> id;) {
    const std::string info = output(display, {"xwininfo", "-id", std::to_string(id)});
    const auto field = [&](const std::string& label) {
      const std::size_t at = info.find(label + ":");
      return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + label.size() + 1);
    };
    out.push_back(XWindow{.id = id,
                          .x = field("Absolute upper-left X"),
                          .y = field("Absolute upper-left Y"),
                          .width = field("Width"),
                          .height = field("Height"),
                          .depth = field("Depth"),
                          .properties = output(display, {"xprop", "-id", std::to_string(id)})});
  }
  return out;
}

std::optional<XWindow> findWindow(const std::string& display, const std::string& name) {
  const std::vector<XWindow> all = findWindows(display, name);
  return all.empty() ? std::nullopt : std::optional<XWindow>(all.front());
}

unsigned long activeWindow(const std::string& display) {
  return std::strtoul(output(display, {"xdotool", "getactivewindow"}).c_str(), nullptr, 10);
}

Image grabX11(const std::string& display, int x, int y, int width, int height) {
  const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(x) +
                           "+" + std::to_string(y);
  return magick({"import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "ppm:-"}, display);
}

bool popupShown(const std::string& display) {
  const auto d = open(display);
  bool shown = false;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (!d || XQueryTree(d.get(), DefaultRootWindow(d.get()), &root, &parent, &children, &n) == 0) return false;
  for (unsigned int i = 0; i < n && !shown; ++i) {
    XWindowAttributes a{};
    shown = XGetWindowAttributes(d.get(), children[i], &a) != 0 && a.override_redirect != 0 &&
            a.map_state == IsViewable && a.width > 1;
  }
  if (children != nullptr) XFree(children);
  return shown;
}

Rgb pixelAt(const std::string& display, int x, int y) {
  const Image one = grabX11(display, x, y, 1, 1);
  return one.empty() ? Rgb{} : one.at(0, 0);
}

bool askToClose(const std::string& display, unsigned long id) {
  const auto d = open(display);
  if (!d) return false;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = id;
  e.xclient.message_type = XInternAtom(d.get(), "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d.get(), "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(d.get(), id, False, NoEventMask, &e) != 0;
  XFlush(d.get());
  return sent;
}

bool paintDesktop(const std::string& display, Rgb colour, bool wallpaper) {
  const auto connection = open(display);
  ::Display* d = connection.get();
  if (d == nullptr) return false;
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
    XSetCloseDownMode(d, RetainPermanent);  // the pixmap outlives this connection
  }
  XClearWindow(d, root);
  XSync(d, False);
  return true;
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
