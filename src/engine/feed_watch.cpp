#include "engine/feed_watch.hpp"

#include <glib.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_clock.hpp"
#include "engine/fd_reader.hpp"
#include "engine/file_events.hpp"

namespace ostrel {
namespace {

bool isFolder(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

/// Where `path` leads when it is a link: the chain of links followed by hand, since the end may not
/// exist (which the library's canonical forms do not follow). None for a loop or too long a chain.
std::optional<std::filesystem::path> linkOf(const std::filesystem::path& path) {
  constexpr int kLongestChain = 40;  // as the kernel allows
  std::error_code ec;
  std::filesystem::path at = path;
  for (int hop = 0; hop <= kLongestChain; ++hop) {
    if (!std::filesystem::is_symlink(at, ec)) {
      if (hop == 0) return std::nullopt;
      const std::filesystem::path resolved = std::filesystem::weakly_canonical(at, ec);
      return ec ? at.lexically_normal() : resolved;
    }
    const std::filesystem::path target = std::filesystem::read_symlink(at, ec);
    if (ec) return std::nullopt;
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  return std::nullopt;
}

/// A watch in place: the kernel's descriptor and what the folder is to the feed.
struct Watch {
  int descriptor = -1;
  WatchedFolder folder;
};

/// Plans made in a row before giving up on a path that keeps changing; the next event plans again.
constexpr int kPlanRounds = 8;

}  // namespace

struct FeedWatch::State {
  std::filesystem::path feed;
  std::function<void()> changed;
  FdReader inotify{::inotify_init1(IN_NONBLOCK | IN_CLOEXEC), [this] { readable(); }};
  std::vector<Watch> watches;
  std::optional<Burst> burst;
  guint timer = 0;

  [[nodiscard]] std::vector<WatchedFolder> planNow() const {
    return FileEvents::plan(feed, isFolder, linkOf);
  }

  [[nodiscard]] std::vector<WatchedFolder> current() const {
    std::vector<WatchedFolder> out;
    for (const Watch& w : watches) out.push_back(w.folder);
    return out;
  }

  void unwatch() {
    std::vector<int> removed;
    for (const Watch& w : watches) {
      if (std::find(removed.begin(), removed.end(), w.descriptor) != removed.end()) continue;
      ::inotify_rm_watch(inotify.fd(), w.descriptor);
      removed.push_back(w.descriptor);
    }
    watches.clear();
  }

  /// Watches the folders of the plan afresh (a folder of the same name may be another one now),
  /// planning again until what exists holds still while the watches are put in place (a folder made
  /// just before its watch would be missed otherwise).
  void follow() {
    if (!inotify.open()) return;
    std::vector<WatchedFolder> plan = planNow();
    for (int round = 0; round < kPlanRounds && (round == 0 || plan != current()); ++round) {
      unwatch();
      for (const WatchedFolder& w : plan) {
        // One folder may have two roles: the events of both.
        const std::uint32_t mask = FileEvents::eventsFor(w.role) | IN_ONLYDIR | IN_MASK_ADD;
        const int wd = ::inotify_add_watch(inotify.fd(), w.folder.c_str(), mask);
        if (wd >= 0) watches.push_back(Watch{.descriptor = wd, .folder = w});
      }
      plan = planNow();
    }
  }

  void readable() {
    // Large enough for many events at once; each is a header and a name of at most NAME_MAX.
    alignas(inotify_event) std::array<char, 16'384> buffer{};
    bool replan = false;
    for (;;) {
      const ssize_t n = ::read(inotify.fd(), buffer.data(), buffer.size());
      if (n <= 0) break;
      for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
        inotify_event event{};
        std::memcpy(&event, buffer.data() + at, sizeof event);
        const char* name = buffer.data() + at + sizeof(inotify_event);
        const std::string_view named =
            event.len > 0 ? std::string_view(name, ::strnlen(name, event.len)) : "";
        at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        const auto take = [&](FileEvent meaning) {
          if (meaning == FileEvent::none) return;
          if (meaning == FileEvent::moved || meaning == FileEvent::lost) replan = true;
          burst = FileEvents::add(burst, monotonicSeconds(), meaning);
        };
        // A lost queue is reported on no watch (descriptor -1).
        if ((event.mask & IN_Q_OVERFLOW) != 0) take(FileEvents::meaning(WatchedFolder{}, event.mask, named));
        for (const Watch& w : watches) {
          if (w.descriptor == event.wd) take(FileEvents::meaning(w.folder, event.mask, named));
        }
      }
    }
    if (replan) follow();
    if (!burst) return;
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
    follow();
    if (changed) changed();
  }

  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  State(State&&) = delete;
  State& operator=(State&&) = delete;
  ~State() {
    if (timer != 0) g_source_remove(timer);
  }
};

FeedWatch::FeedWatch(const std::filesystem::path& feed, std::function<void()> changed)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(feed, ec);
  s.feed = ec ? feed : absolute.lexically_normal();
  s.changed = std::move(changed);
  if (s.inotify.open()) s.follow();
}

FeedWatch::~FeedWatch() = default;

bool FeedWatch::watching() const {
  return !state_->watches.empty();
}

}  // namespace ostrel
