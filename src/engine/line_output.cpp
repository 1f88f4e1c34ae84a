#include "engine/line_output.hpp"

#include <fcntl.h>
#include <glib-unix.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <set>
#include <string>
#include <utility>

namespace ostrel {

struct LineOutput::State {
  struct Waiting {
    std::string widget;  ///< kind:family
    std::string line;    ///< with its line break
  };

  int fd = -1;
  bool ownsFd = false;
  int restoreFlags = -1;  ///< the flags to put back on a shared socket, or -1
  LineFormat format;
  Backlog backlog;
  std::function<void(int)> closed;
  bool failed = false;
  std::string writing;  ///< what is left of the line being written
  std::deque<Waiting> queue;
  std::size_t queued = 0;  ///< bytes in `queue`
  GSource* hangUp = nullptr;
  GSource* writable = nullptr;

  State(int out, LineFormat f, Backlog b, std::function<void(int)> c)
      : fd(out), format(f), backlog(b), closed(std::move(c)) {
    struct stat st {};
    if (::fstat(out, &st) != 0) return;
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) {
      // A description of its own: O_NONBLOCK set there does not reach the shell or bar sharing ours.
      const std::string self = "/proc/self/fd/" + std::to_string(out);
      const int own = ::open(self.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
      if (own >= 0) {
        fd = own;
        ownsFd = true;
      }
    }
    if (!ownsFd && !S_ISREG(st.st_mode)) {
      const int flags = ::fcntl(out, F_GETFL);
      if (flags >= 0 && (flags & O_NONBLOCK) == 0 && ::fcntl(out, F_SETFL, flags | O_NONBLOCK) == 0)
        restoreFlags = flags;
    }
    hangUp = watch(
        static_cast<GIOCondition>(G_IO_HUP | G_IO_ERR | G_IO_NVAL),
        +[](gint, GIOCondition, gpointer self) -> gboolean {
          static_cast<State*>(self)->fail(EPIPE);
          return G_SOURCE_CONTINUE;
        });
  }

  State(const State&) = delete;
  State& operator=(const State&) = delete;
  State(State&&) = delete;
  State& operator=(State&&) = delete;

  ~State() {
    if (!failed) flush();  // what the reader can take now; the rest ends with the process
    drop(hangUp);
    drop(writable);
    if (ownsFd) ::close(fd);
    if (restoreFlags >= 0) ::fcntl(fd, F_SETFL, restoreFlags);
  }

  GSource* watch(GIOCondition condition, GUnixFDSourceFunc callback) {
    GSource* source = g_unix_fd_source_new(fd, condition);
    g_source_set_callback(source, reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(callback)), this,
                          nullptr);
    g_source_attach(source, g_main_context_get_thread_default());
    return source;
  }

  static void drop(GSource*& source) {
    if (source == nullptr) return;
    g_source_destroy(source);
    g_source_unref(source);
    source = nullptr;
  }

  void add(std::string widget, std::string line) {
    queued += line.size();
    queue.push_back({std::move(widget), std::move(line)});
    if (backlog == Backlog::every && queued <= kEveryLimit) return;
    // Only each widget's latest line stays, in the order of those lines.
    std::deque<Waiting> kept;
    std::set<std::string> seen;
    queued = 0;
    for (auto w = queue.rbegin(); w != queue.rend(); ++w) {
      if (!seen.insert(w->widget).second) continue;
      queued += w->line.size();
      kept.push_front(std::move(*w));
    }
    queue = std::move(kept);
  }

  /// Writes what the descriptor takes without blocking; waits on the main loop for the rest.
  void flush() {
    while (true) {
      if (writing.empty()) {
        if (queue.empty()) return drop(writable);
        writing = std::move(queue.front().line);
        queued -= writing.size();
        queue.pop_front();
      }
      const ssize_t n = ::write(fd, writing.data(), writing.size());
      if (n >= 0) {
        writing.erase(0, static_cast<std::size_t>(n));
        continue;
      }
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        if (writable == nullptr) {
          writable = watch(
              G_IO_OUT, +[](gint, GIOCondition, gpointer self) -> gboolean {
                static_cast<State*>(self)->flush();
                return G_SOURCE_CONTINUE;
              });
        }
        return;
      }
      return fail(errno);
    }
  }

  void fail(int error) {
    if (failed) return;
    failed = true;
    drop(hangUp);
    drop(writable);
    queue.clear();
    writing.clear();
    if (closed) closed(error);
  }
};

LineOutput::LineOutput(int fd, LineFormat format, Backlog backlog, std::function<void(int)> closed)
    : state_(std::make_unique<State>(fd, format, backlog, std::move(closed))) {}

LineOutput::~LineOutput() = default;

void LineOutput::show(const Face& face) {
  State& s = *state_;
  if (s.failed) return;
  s.add(face.kind + ":" + name(face.family), faceLine(face, s.format) + '\n');
  s.flush();
}

}  // namespace ostrel
