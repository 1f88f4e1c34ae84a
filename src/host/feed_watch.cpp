#include "host/feed_watch.hpp"

#include <gio/gio.h>

#include <cmath>
#include <optional>
#include <string>

#include "host/engine_clock.hpp"
#include "host/file_events.hpp"

namespace ostrel {
namespace {

std::string baseName(GFile* file) {
  if (file == nullptr) return {};
  char* raw = g_file_get_basename(file);
  std::string name = raw != nullptr ? raw : "";
  g_free(raw);
  return name;
}

}  // namespace

struct FeedWatch::State {
  std::string feedName;
  std::function<void()> changed;
  GFileMonitor* monitor = nullptr;
  std::optional<Burst> burst;
  guint timer = 0;

  void event(GFile* file, GFile* other, GFileMonitorEvent kind) {
    const std::string name = baseName(file), otherName = baseName(other);
    if (!FileEvents::concernsFeed(name, otherName, feedName)) return;
    // The feed renamed or moved into place, or closed after writing: whole from now on.
    const bool finishesWrite = (kind == G_FILE_MONITOR_EVENT_RENAMED && otherName == feedName) ||
                               (kind == G_FILE_MONITOR_EVENT_MOVED_IN && name == feedName) ||
                               (kind == G_FILE_MONITOR_EVENT_CHANGES_DONE_HINT && name == feedName);
    burst = FileEvents::add(burst, monotonicSeconds(), finishesWrite);
    if (timer != 0) g_source_remove(timer);  // the burst may now end sooner
    arm();
  }

  void arm() {
    const double wait = std::max(0.0, FileEvents::settlesAt(*burst) - monotonicSeconds());
    timer = g_timeout_add_full(
        G_PRIORITY_DEFAULT, static_cast<guint>(std::ceil(wait * 1000)),
        +[](gpointer self) -> gboolean {
          static_cast<State*>(self)->due();
          return G_SOURCE_REMOVE;
        },
        this, nullptr);
  }

  void due() {
    timer = 0;
    if (!burst) return;
    if (!FileEvents::settled(*burst, monotonicSeconds())) return arm();
    burst.reset();
    if (changed) changed();
  }

  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  State(State&&) = delete;
  State& operator=(State&&) = delete;
  ~State() {
    if (timer != 0) g_source_remove(timer);
    if (monitor != nullptr) {
      g_signal_handlers_disconnect_by_data(monitor, this);
      g_file_monitor_cancel(monitor);
      g_object_unref(monitor);
    }
  }
};

FeedWatch::FeedWatch(const std::filesystem::path& feed, std::function<void()> changed)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(feed, ec);
  const std::filesystem::path path = ec ? feed : absolute.lexically_normal();
  s.feedName = path.filename().string();
  s.changed = std::move(changed);
  GFile* folder = g_file_new_for_path(path.parent_path().c_str());
  s.monitor = g_file_monitor_directory(folder, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
  g_object_unref(folder);
  if (s.monitor == nullptr) return;
  g_signal_connect(s.monitor, "changed",
                   G_CALLBACK(+[](GFileMonitor*, GFile* file, GFile* other, GFileMonitorEvent kind,
                                  gpointer self) { static_cast<State*>(self)->event(file, other, kind); }),
                   &s);
}

FeedWatch::~FeedWatch() = default;

bool FeedWatch::watching() const {
  return state_->monitor != nullptr;
}

}  // namespace ostrel
