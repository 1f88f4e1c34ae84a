#pragma once
// For the engine's tests on a real main loop: an output that keeps what it is shown, the loop run
// until a condition holds, and the settings of an engine over a scratch folder.
#include <glib.h>

#include <chrono>
#include <functional>
#include <vector>

#include "engine/engine.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::test_support {

inline constexpr Date kStart{1'772'445'630};  // 2026-03-02T10:00:30Z

struct Recorder : FaceOutput {
  void show(const Face& face) override { faces.push_back(face); }
  std::vector<Face> faces;
};

/// Runs the thread's main loop until `done` holds or `seconds` of real time pass; whether it holds.
inline bool runUntil(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, FALSE);
  return done();
}
inline void pause(double seconds) {
  runUntil([] { return false; }, seconds);
}

inline std::vector<ShownWidget> nextUpSmall() {
  return {ShownWidget{.widget = NextUpWidget{}.body(), .family = WidgetFamily::systemSmall}};
}
inline EngineSettings settingsFor(const std::filesystem::path& feed) {
  return EngineSettings{.feed = feed,
                        .timeZone = TimeZone::named("Australia/Sydney"),
                        .locale = "en_AU",
                        .until = {},
                        .system = {}};
}

}  // namespace ostrel::test_support
