#pragma once
/// \file host_fixture.hpp
/// For the display tests: a scratch folder with a feed, the built `ostrel-widgets host` started on
/// a display with a pinned clock, zone and locale, and what it should show, drawn by the built
/// `ostrel-widgets render` or read by `reading()` from the same entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "desktop/display/images.hpp"
#include "desktop/display/servers.hpp"
#include "support/process.hpp"
#include "support/scratch.hpp"
#include "ui/environment.hpp"

namespace ostrel::display_test {

/// The host's clock starts here: Monday 2 March 2026, 9:20 in Sydney, 40 minutes before a lecture.
inline constexpr const char* kStart = "2026-03-02T09:20:00+11:00";
inline constexpr double kStartUtc = 1772403600;  // the same instant, seconds since 1970
inline constexpr const char* kZone = "Australia/Sydney";

class HostFixture : public test_support::ScratchTest {
 protected:
  void SetUp() override;

  /// `ostrel-widgets host` with the feed, clock, zone and locale pinned, then `args`; its output in
  /// `log`.out and `log`.err.
  [[nodiscard]] Process startHost(const std::vector<std::string>& args,
                                  std::map<std::string, std::string> env, const std::string& log = "host");
  /// `render` of the entry at `at` (seconds since 1970) laid over `background`.
  [[nodiscard]] Image rendered(const std::string& kind, WidgetFamily family, ColorScheme scheme, double at,
                               int scale, Rgb background = {});
  /// The reading of that face, as its window's accessible name should carry it.
  [[nodiscard]] std::string expectedReading(const std::string& kind, WidgetFamily family, double at) const;

  /// Keeps `image` beside the build (for looking at a failure) and returns its path.
  std::string keep(const Image& image, const std::string& name) const;
  /// The host's standard error so far.
  [[nodiscard]] std::string hostErrors() const { return readFile(dir_ / "host.err"); }

  std::filesystem::path feed_;
};

/// `at` (seconds since 1970) as an ISO 8601 instant in UTC.
[[nodiscard]] std::string isoUtc(double at);

}  // namespace ostrel::display_test
