#pragma once
/// \file host_fixture.hpp
/// For the display tests: a scratch folder with a feed, the built `ostrel-widgets host` started on
/// a display with a pinned clock, zone and locale, and what it should show, drawn by the built
/// `ostrel-widgets render` or read by `reading()` from the same entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "desktop/display/images.hpp"
#include "desktop/display/servers.hpp"
#include "desktop/display/x11_windows.hpp"
#include "support/process.hpp"
#include "support/scratch.hpp"
#include "ui/environment.hpp"

using AtspiAccessible = struct _AtspiAccessible;  // NOLINT(bugprone-reserved-identifier): the library's tag

namespace ostrel::display_test {

/// The host's clock starts here: Monday 2 March 2026, 9:20 in Sydney, 40 minutes before a lecture.
inline constexpr const char* kStart = "2026-03-02T09:20:00+11:00";
inline constexpr double kStartUtc = 1772403600;  // the same instant, seconds since 1970
inline constexpr const char* kZone = "Australia/Sydney";

/// A widget the host shows: its window's title, its kind and family, its width in points (each is
/// 170 high).
struct Shown {
  const char *title, *kind;
  WidgetFamily family;
  int width;
};
inline constexpr Shown kNextUp{"Next up", "NextUp", WidgetFamily::systemSmall, 170},
    kDueSoon{"Due soon", "DueSoon", WidgetFamily::systemMedium, 364};

class HostFixture : public test_support::ScratchTest {
 protected:
  void SetUp() override;

  /// `ostrel-widgets host` with the feed, clock, zone and locale pinned, then `args`, seeing only
  /// the servers `env` names; its output in `log`.out and `log`.err.
  [[nodiscard]] Process startHost(const std::vector<std::string>& args,
                                  std::map<std::string, std::string> env, const std::string& log = "host");
  /// `render` of the entry at `at` (seconds since 1970) laid over `background`.
  [[nodiscard]] Image rendered(const Shown& face, ColorScheme scheme, double at, int scale,
                               Rgb background = {});
  /// The reading of that face, as its window's accessible name should carry it.
  [[nodiscard]] std::string expectedReading(const Shown& face, double at) const;

  /// Whether what `grab` gives comes to look like `expected`; a failure names both pictures, kept
  /// beside the build as `name`.
  bool shows(const std::function<Image()>& grab, const Image& expected, const std::string& name);
  /// The window called `name` on `x` once it is viewable.
  std::optional<XWindow> awaitWindow(const Xvfb& x, const std::string& name);
  /// Keeps `image` beside the build (for looking at a failure) and returns its path.
  std::string keep(const Image& image, const std::string& name) const;
  /// The host's standard error so far.
  [[nodiscard]] std::string hostErrors(const std::string& log = "host") const {
    return readFile(dir_ / (log + ".err"));
  }

  std::filesystem::path feed_;
};

/// The fixture on an X server (Xvfb, 1280 × 800) with a bus of the test's own: `env_` names both
/// (a host started without it sees no bus); a missing Xvfb or dbus-daemon skips or fails the test.
class X11Fixture : public HostFixture {
 protected:
  void SetUp() override;

  std::optional<Xvfb> x_;
  Bus bus_;
  std::map<std::string, std::string> env_;
};

/// Runs `visit` on the accessible tree of the session's applications, `depth` levels down, as a
/// screen reader finds it (AT-SPI through the bus DBUS_SESSION_BUS_ADDRESS names), with each node
/// and its name, until it returns true; whether it did.
bool visitAccessibles(int depth, const std::function<bool(AtspiAccessible*, const std::string&)>& visit);
/// The names in that tree.
[[nodiscard]] std::vector<std::string> accessibleNames(int depth);

}  // namespace ostrel::display_test
