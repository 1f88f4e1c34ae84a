#include "engine/engine.hpp"

#include <glib-unix.h>
#include <glib.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <csignal>

#include "engine/feed_watch.hpp"
#include "engine/refresh_cause.hpp"
#include "engine/schedule.hpp"
#include "time/date_format.hpp"
#include "time/locale_name.hpp"
#include "timeline/services.hpp"
#include "ui/same_drawing.hpp"

namespace ostrel {
namespace {

/// The longest a GLib timeout can be asked to wait, in milliseconds; the engine never waits longer
/// than `Schedule::longestSleep` of its clock, but a slow simulated clock stretches that.
constexpr double kLongestTimeoutMs = 24.0 * 3600 * 1000;

}  // namespace

/// One widget followed: its timeline and the drawing it showed last.
struct Followed {
  ShownWidget shown;
  Timeline<Entry> timeline;
  std::optional<Face> face;
  std::optional<View> drawing;  ///< `face` in the light scheme, to tell a change
};

struct Engine::State {
  std::vector<Followed> widgets;
  EngineSettings settings;
  EngineClock clock;
  std::vector<FaceOutput*> outputs;
  std::function<void()> stopped;
  EngineStats stats;

  TimeZone zone = TimeZone::utc();
  std::string locale;
  std::shared_ptr<const DateFormatter> dates;  ///< for `locale` and `zone`, made again when they change
  bool running = false;
  guint timer = 0;
  Date wakeAt;
  ClockReading lastReading;
  std::optional<Date> lastEntry;
  GMainLoop* loop = nullptr;
  std::unique_ptr<WallTimer> wallTimer;  ///< the system clock's wakes
  std::unique_ptr<FeedWatch> feedWatch;
  std::unique_ptr<SystemWatch> systemWatch;

  State(std::vector<ShownWidget> shown, EngineSettings s, EngineClock c) : settings(std::move(s)), clock(c) {
    widgets.reserve(shown.size());
    for (ShownWidget& w : shown)
      widgets.push_back(Followed{.shown = std::move(w), .timeline = {}, .face = {}, .drawing = {}});
    zone = settings.timeZone.value_or(TimeZone::local());
    locale = settings.locale.value_or(LocaleName::fromEnvironment());
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  State(State&&) = delete;
  State& operator=(State&&) = delete;
  ~State() { disarm(); }

  void request(Date now) {
    ++stats.requests;
    for (Followed& f : widgets) {
      const TimelineProviderContext context{
          .isPreview = false,
          .services = Services{.clock = Clock::fixed(now), .feed = settings.feed, .timeZone = zone},
      };
      f.shown.widget.provider.getTimeline(context, [&f](Timeline<Entry> t) { f.timeline = std::move(t); });
    }
  }

  void present(Date now) {
    for (std::size_t i = 0; i < widgets.size() && running; ++i) {
      Followed& f = widgets[i];
      if (f.timeline.entries.empty()) continue;
      const std::size_t at = Schedule::current(f.timeline.entries, now).value_or(0);
      const Entry& entry = f.timeline.entries[at];
      if (i == 0 && lastEntry != entry.date) {
        lastEntry = entry.date;
        ++stats.entriesShown;
      }
      Face face{.kind = f.shown.widget.kind,
                .family = f.shown.family,
                .entry = entry,
                .timeZone = zone,
                .locale = locale,
                .dates = formatter(),
                .content = f.shown.widget.content,
                .shortState = f.shown.widget.shortState};
      View drawing = face.view(ColorScheme::light);
      if (f.drawing && sameDrawing(*f.drawing, drawing)) {
        f.face = std::move(face);  // the same picture for a later entry
        continue;
      }
      f.drawing = std::move(drawing);
      f.face = std::move(face);
      for (std::size_t o = 0; o < outputs.size() && running; ++o) {
        ++stats.facesShown;
        outputs[o]->show(*f.face);
      }
    }
  }

  /// The formatter for the zone and locale followed now; the one before is dropped when they changed.
  const std::shared_ptr<const DateFormatter>& formatter() {
    if (!dates || !dates->isFor(locale, zone)) dates = DateFormatter::make(locale, zone);
    return dates;
  }

  void disarm() {
    if (timer != 0) g_source_remove(timer);
    timer = 0;
    if (wallTimer) wallTimer->disarm();
  }

  void arm(Date now) {
    disarm();
    if (!running) return;
    Date wake = now + Schedule::longestSleep;
    for (const Followed& f : widgets) wake = std::min(wake, Schedule::nextWake(f.timeline, now));
    if (settings.until) wake = std::min(wake, std::max(now, *settings.until));
    wakeAt = wake;
    if (clock.isSystem()) {
      if (!wallTimer) {
        wallTimer = std::make_unique<WallTimer>(
            [this](bool clockSet) { on(clockSet ? RefreshEvent::set : RefreshEvent::wake); });
      }
      if (wallTimer->arm(wake)) return;
    }
    const double ms = std::min(std::ceil(clock.delayUntil(wake) * 1000), kLongestTimeoutMs);
    timer = g_timeout_add_full(
        G_PRIORITY_DEFAULT, static_cast<guint>(ms),
        +[](gpointer self) -> gboolean {
          static_cast<State*>(self)->timer = 0;
          static_cast<State*>(self)->on(RefreshEvent::wake);
          return G_SOURCE_REMOVE;
        },
        this, nullptr);
  }

  [[nodiscard]] bool reachedUntil(Date now) const { return settings.until && !(now < *settings.until); }

  /// Something happened: the faces are refreshed for the cause that wins (refresh_cause.hpp).
  void on(RefreshEvent event) {
    if (!running) return;
    const bool woke = event == RefreshEvent::wake || event == RefreshEvent::set;
    if (woke) clock.arrive(wakeAt);
    const Date now = clock.now();
    RefreshOccasion occasion{
        .event = event,
        .reachedUntil = reachedUntil(now),
        .clockJumped = false,
        .reloadDue = std::any_of(widgets.begin(), widgets.end(),
                                 [now](const Followed& f) { return Schedule::reloadDue(f.timeline, now); }),
        .systemChanged = event == RefreshEvent::system && followSystem()};
    if (clock.isSystem()) {
      // A set is reported at once; a resume from suspend shows as the wall clock having moved
      // further than the monotonic one, which stood still.
      const ClockReading reading = clock.read();
      occasion.clockJumped = event != RefreshEvent::start && Schedule::clockJumped(lastReading, reading);
      lastReading = reading;
    }
    const RefreshCause cause = refreshCause(occasion);
    if (woke && cause != RefreshCause::until) ++stats.wakes;
    refresh(now, cause);
  }

  /// The one refresh: new timelines when `cause` asks for them, the faces current at `now`, the
  /// timer armed for the next wake.
  void refresh(Date now, RefreshCause cause) {
    if (cause == RefreshCause::until) return halt();
    if (cause == RefreshCause::none) return;
    count(cause);
    if (requests(cause)) request(now);
    present(now);
    if (requests(cause) && cause != RefreshCause::start) handBackMemory();
    arm(now);
  }

  void count(RefreshCause cause) {
    switch (cause) {
      case RefreshCause::feed:
        ++stats.feedReloads;
        break;
      case RefreshCause::system:
        ++stats.systemReloads;
        break;
      case RefreshCause::jump:
        ++stats.jumpReloads;
        break;
      case RefreshCause::policy:
        ++stats.policyReloads;
        break;
      case RefreshCause::until:
      case RefreshCause::start:
      case RefreshCause::entry:
      case RefreshCause::none:
        break;
    }
  }

  /// The timelines and faces of the feed read before are gone now: what the allocator keeps of
  /// them (a big feed leaves many megabytes free in its heap) goes back to the system.
  static void handBackMemory() { ::malloc_trim(0); }

  /// Takes the system's zone and locale where none is pinned; whether either changed.
  bool followSystem() {
    if (!systemWatch) return false;
    const TimeZone newZone = settings.timeZone.value_or(systemWatch->timeZone());
    const std::string newLocale = settings.locale.value_or(systemWatch->locale());
    if (newZone == zone && newLocale == locale) return false;
    zone = newZone;
    locale = newLocale;
    return true;
  }

  void start() {
    if (running) return;
    running = true;
    if (!feedWatch)
      feedWatch = std::make_unique<FeedWatch>(settings.feed, [this] { on(RefreshEvent::feed); });
    if (!systemWatch && (!settings.timeZone || !settings.locale)) {
      systemWatch = std::make_unique<SystemWatch>(settings.system, [this] { on(RefreshEvent::system); });
      zone = settings.timeZone.value_or(systemWatch->timeZone());
      locale = settings.locale.value_or(systemWatch->locale());
    }
    on(RefreshEvent::start);
  }

  void halt() {
    if (!running) return;
    running = false;
    disarm();
    if (loop != nullptr) g_main_loop_quit(loop);
    if (stopped) stopped();
  }
};

Engine::Engine(std::vector<ShownWidget> widgets, EngineSettings settings, EngineClock clock)
    : state_(std::make_unique<State>(std::move(widgets), std::move(settings), clock)) {}

Engine::~Engine() = default;

void Engine::subscribe(FaceOutput& output) {
  state_->outputs.push_back(&output);
  if (!state_->running) return;
  for (const Followed& f : state_->widgets) {
    if (f.face && state_->running) output.show(*f.face);
  }
}

void Engine::onStopped(std::function<void()> stopped) {
  state_->stopped = std::move(stopped);
}

void Engine::start() {
  state_->start();
}

void Engine::stop() {
  state_->halt();
}

void Engine::run() {
  GMainContext* context = g_main_context_ref_thread_default();
  state_->loop = g_main_loop_new(context, FALSE);
  const auto onSignal = +[](gpointer self) -> gboolean {
    static_cast<State*>(self)->halt();
    return G_SOURCE_CONTINUE;
  };
  const guint interrupt = g_unix_signal_add(SIGINT, onSignal, state_.get());
  const guint terminate = g_unix_signal_add(SIGTERM, onSignal, state_.get());
  state_->start();
  if (state_->running) g_main_loop_run(state_->loop);
  g_source_remove(interrupt);
  g_source_remove(terminate);
  g_main_loop_unref(state_->loop);
  state_->loop = nullptr;
  g_main_context_unref(context);
}

bool Engine::running() const {
  return state_->running;
}

const TimeZone& Engine::timeZone() const {
  return state_->zone;
}

const std::string& Engine::locale() const {
  return state_->locale;
}

std::vector<Face> Engine::faces() const {
  std::vector<Face> out;
  for (const Followed& f : state_->widgets) {
    if (f.face) out.push_back(*f.face);
  }
  return out;
}

const EngineStats& Engine::stats() const {
  return state_->stats;
}

}  // namespace ostrel
