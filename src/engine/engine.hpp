#pragma once
/// \file engine.hpp
/// The live host's engine: keeps each shown widget's face current. For every widget it requests a
/// timeline from the widget's provider, shows the entry whose date is the latest not after now,
/// wakes exactly at the next entry's date (one timer, never a poll) and requests a new timeline at
/// the reload policy's instant. It also requests at once when the feed file is created, replaced,
/// rewritten or deleted (a burst of file events counting once), when the wall clock is set or the
/// machine resumes (the real clock wakes through a wall-clock timer, which fires at once on a set),
/// and when the system's zone or locale changes. Faces go to the subscribed outputs, each only when it
/// changed.
///
///     Engine engine({{.widget = NextUpWidget{}.body(), .family = WidgetFamily::systemSmall}},
///                   EngineSettings{.feed = path}, EngineClock::system());
///     engine.subscribe(output);   // a FaceOutput (face_output.hpp)
///     engine.run();               // until stop(), `until`, SIGINT or SIGTERM
///
/// Or, beside a loop someone else runs (GTK's): `start()`, then `stop()` when done; `stopped` tells
/// when the engine ended by itself (its clock reached `until`, an output asked it to).
///
/// Everything happens on the thread-default GLib main context of the thread that calls `start()`
/// or `run()`; the engine is not thread-safe. The decisions are the pure functions of
/// schedule.hpp, refresh_cause.hpp and file_events.hpp.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_clock.hpp"
#include "engine/face_output.hpp"
#include "engine/system_watch.hpp"
#include "feed/feed_file.hpp"
#include "time/date.hpp"
#include "time/time_zone.hpp"
#include "widgets/configuration.hpp"

namespace ostrel {

/// One widget as shown: its declaration and the family it is drawn in.
struct ShownWidget {
  WidgetConfiguration widget;
  WidgetFamily family = WidgetFamily::systemSmall;
};

struct EngineSettings {
  std::filesystem::path feed = FeedFile::url();
  std::optional<TimeZone> timeZone;   ///< a pinned zone; none: follow the system's
  std::optional<std::string> locale;  ///< a pinned locale; none: follow the system's
  std::optional<Date> until;          ///< stop when the clock reaches this instant
  SystemPaths system{};               ///< where the system's zone and locale are followed
};

/// What the engine did, for benchmarks and tests.
struct EngineStats {
  std::size_t wakes = 0;          ///< timer wakes before `until` (the start not counted)
  std::size_t requests = 0;       ///< rounds of timeline requests, one per widget each, the first included
  std::size_t policyReloads = 0;  ///< rounds asked for by the reload policy
  std::size_t feedReloads = 0;    ///< ... by a change of the feed file
  std::size_t jumpReloads = 0;    ///< ... by a jump of the wall clock
  std::size_t systemReloads = 0;  ///< ... by a change of the system's zone or locale
  std::size_t entriesShown = 0;   ///< times the first widget's current entry changed, the first included
  std::size_t facesShown = 0;     ///< faces handed to the outputs (per output call)
};

class Engine {
 public:
  Engine(std::vector<ShownWidget> widgets, EngineSettings settings, EngineClock clock);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  Engine(Engine&&) = delete;
  Engine& operator=(Engine&&) = delete;

  /// Adds an output, which must outlive the engine's running. Once started, it is shown the
  /// current faces at once.
  void subscribe(FaceOutput& output);
  /// Called once when the engine stops by itself or by `stop()`.
  void onStopped(std::function<void()> stopped);

  /// Requests the timelines, shows the first faces and arms the timer and the watches.
  void start();
  /// Stops at once: no further wake or output call. Safe to call from an output's `show`.
  void stop();
  /// `start()`, then runs a main loop until the engine stops; SIGINT and SIGTERM stop it.
  void run();

  [[nodiscard]] bool running() const;
  /// The zone and locale the faces are drawn in now.
  [[nodiscard]] const TimeZone& timeZone() const;
  [[nodiscard]] const std::string& locale() const;
  /// The faces shown last, one per widget in the order given (empty before `start()`).
  [[nodiscard]] std::vector<Face> faces() const;
  [[nodiscard]] const EngineStats& stats() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace ostrel
