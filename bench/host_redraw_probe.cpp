// Measures how long the desktop host takes from a rewrite of its feed to the redrawn window: on an
// X display, watches the window named by the first argument with the DAMAGE extension, replaces the
// feed (a temporary file renamed over it, as the app writes it) alternately with two versions, and
// takes the time from each rename to the window's first damage after it.
//
//   host_redraw_probe DISPLAY TITLE FEED VERSION_A VERSION_B ROUNDS
//
// Prints one line per rewrite and then "RATIO host_redraw_ms <median> <=200 # ...".
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Window findWindow(Display* d, const std::string& title) {
  Window root = 0, parent = 0, found = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) == 0) return 0;
  for (unsigned int i = 0; i < n && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(d, children[i], &name) != 0 && name != nullptr) {
      if (title == name) found = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

/// Waits up to `seconds` for a damage event on the window; its arrival time, or a negative number.
double awaitDamage(Display* d, int damageEvent, double seconds) {
  const double end = now() + seconds;
  while (now() < end) {
    while (XPending(d) > 0) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == damageEvent + XDamageNotify) {
        const double t = now();
        XDamageSubtract(d, reinterpret_cast<XDamageNotifyEvent*>(&e)->damage, None, None);
        return t;
      }
    }
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    ::poll(&p, 1, 5);
  }
  return -1;
}

void drain(Display* d, int damageEvent, double seconds) {
  while (awaitDamage(d, damageEvent, seconds) >= 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: host_redraw_probe DISPLAY TITLE FEED VERSION_A VERSION_B ROUNDS\n");
    return 2;
  }
  const std::filesystem::path feed = argv[3];
  const std::filesystem::path versions[2] = {argv[4], argv[5]};
  const int rounds = std::atoi(argv[6]);
  Display* d = XOpenDisplay(argv[1]);
  if (d == nullptr) {
    std::fprintf(stderr, "host_redraw_probe: cannot open display %s\n", argv[1]);
    return 1;
  }
  int damageEvent = 0, damageError = 0;
  if (XDamageQueryExtension(d, &damageEvent, &damageError) == 0) {
    std::fprintf(stderr, "host_redraw_probe: the display has no DAMAGE extension\n");
    return 1;
  }
  Window window = 0;
  for (int i = 0; i < 200 && window == 0; ++i) {
    window = findWindow(d, argv[2]);
    if (window == 0) ::poll(nullptr, 0, 50);
  }
  if (window == 0) {
    std::fprintf(stderr, "host_redraw_probe: no window called %s\n", argv[2]);
    return 1;
  }
  XDamageCreate(d, window, XDamageReportNonEmpty);
  XFlush(d);

  std::vector<double> ms;
  for (int r = 0; r < rounds; ++r) {
    drain(d, damageEvent, 0.7);  // the window at rest
    const std::filesystem::path temporary = feed.string() + ".new";
    std::filesystem::copy_file(versions[(r + 1) % 2], temporary,
                               std::filesystem::copy_options::overwrite_existing);
    const double start = now();
    std::filesystem::rename(temporary, feed);
    const double drawn = awaitDamage(d, damageEvent, 5);
    if (drawn < 0) {
      std::printf("rewrite %d: no redraw within 5 s\n", r + 1);
      continue;
    }
    ms.push_back((drawn - start) * 1000);
    std::printf("rewrite %d: redrawn after %.1f ms\n", r + 1, ms.back());
  }
  XCloseDisplay(d);
  if (ms.empty()) return 1;
  std::sort(ms.begin(), ms.end());
  std::printf(
      "RATIO host_redraw_ms %.1f <=200 # median of %zu rewrites by rename; fastest %.1f ms, slowest %.1f "
      "ms\n",
      ms[ms.size() / 2], ms.size(), ms.front(), ms.back());
  return 0;
}
