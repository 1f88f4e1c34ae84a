// Runs `ostrel-widgets watch`: the lines of a simulated day against the timelines the provider
// makes and the faces drawn from them; the PNG files while the feed is rewritten under a running
// engine; how it ends; and its bad-usage errors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "command.hpp"
#include "engine/face_line.hpp"
#include "time/iso_utc.hpp"
#include "timeline/provider.hpp"
#include "ui/same_drawing.hpp"
#include "widgets/widgets.hpp"

extern char** environ;

namespace {

namespace fs = std::filesystem;

using ostrel::Date;
using ostrel::cli_test::Outcome;
using ostrel::cli_test::quoted;

constexpr Date kStart{1'772'445'630};  // 2026-03-02T10:00:30Z
constexpr const char* kZone = "Australia/Sydney";

/// A class under way at the start, one later in the day, a deadline that drops off during it.
const char* const kBusyFeed = R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z","classes":[
  {"unit":"FINC3600","title":"Lecture","where":"ABS 1010","start":"2026-03-02T09:30:00Z","end":"2026-03-02T10:45:00Z"},
  {"unit":"COMP2123","title":"Tutorial","start":"2026-03-02T14:10:20Z","end":"2026-03-02T15:00:00Z"}],
  "due":[{"unit":"STAT2011","name":"Quiz 3","due":"2026-03-01T23:59:30Z","weight":5}]})";
const char* const kOffFeed = R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})";

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class WatchCommand : public ostrel::cli_test::CommandTest {};

TEST_F(WatchCommand, ADayAtFullSpeedPrintsTheFacesOfEveryTimelineAtTheirDates) {
  using namespace ostrel;
  const fs::path feed = write("feed.json", kBusyFeed);
  const Date until = kStart + 86'400;
  const Outcome r = run("watch --format json --speed max --feed feed.json --tz " + std::string(kZone) +
                        " --locale en_AU --now " + isoUtc(kStart) + " --until " + isoUtc(until));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");

  // The first timeline is the one the `timeline` command prints for that instant.
  const Outcome t =
      run("timeline --json --feed feed.json --tz " + std::string(kZone) + " --now " + isoUtc(kStart));
  ASSERT_EQ(t.status, 0) << t.err;
  std::vector<std::string> printed;
  const std::regex date(R"re("date": "([^"]+)")re");
  for (std::sregex_iterator m(t.out.begin(), t.out.end(), date), end; m != end; ++m)
    printed.push_back((*m)[1]);

  // Every timeline from the start and from each reload instant on: each entry shown from its date
  // until the next timeline, each widget's line printed when its drawing changes.
  std::vector<std::string> expected;
  std::map<std::string, View> shown;
  bool first = true;
  for (Date at = kStart; at < until;) {
    Timeline<Entry> timeline;
    Provider{}.getTimeline(
        {.isPreview = false,
         .services = Services{.clock = Clock::fixed(at), .feed = feed, .timeZone = TimeZone::named(kZone)}},
        [&](Timeline<Entry> made) { timeline = std::move(made); });
    if (first) {
      std::vector<std::string> dates;
      for (const Entry& e : timeline.entries) dates.push_back(isoUtc(e.date));
      EXPECT_EQ(dates, printed);
      first = false;
    }
    const Date next = timeline.policy.at;
    for (const Entry& e : timeline.entries) {
      if (!(e.date < next) || !(e.date < until)) break;
      for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
        for (WidgetFamily family : w.families) {
          const Face face{.kind = w.kind,
                          .family = family,
                          .entry = e,
                          .timeZone = TimeZone::named(kZone),
                          .locale = "en_AU",
                          .content = w.content,
                          .shortState = w.shortState};
          View drawing = face.view(ColorScheme::light);
          const std::string key = w.kind + name(family);
          const auto before = shown.find(key);
          if (before != shown.end() && sameDrawing(before->second, drawing)) continue;
          shown.insert_or_assign(key, std::move(drawing));
          expected.push_back(faceLine(face, LineFormat::json));
        }
      }
    }
    at = next;
  }
  const std::vector<std::string> got = lines(r.out);
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << "line " << i;

  // What the day held: the class under way, the later one counting down, the deadline's drop-off.
  EXPECT_NE(r.out.find("\"label\": \"On now: FINC3600, Lecture, ends 9:45\u202fpm, ABS 1010\""),
            std::string::npos);
  EXPECT_NE(r.out.find(R"("label": "Next up: COMP2123, Tutorial, in 1 min")"), std::string::npos);
  EXPECT_NE(r.out.find(R"({"at": "2026-03-02T11:59:30.000Z", "kind": "DueSoon", "family": "systemMedium")"),
            std::string::npos);
}

/// The built command running in the background, its standard output discarded or sent to `out`.
class Background {
 public:
  Background(const fs::path& dir, const std::vector<std::string>& args, int out = -1,
             const fs::path& err = {}) {
    std::vector<std::string> words{OSTREL_COMMAND};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0) {
      posix_spawn_file_actions_adddup2(&actions, out, 1);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    if (!err.empty())
      posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;
  ~Background() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  /// Sends `signal` and returns the exit status (-1 if it did not exit normally).
  int stop(int signal) {
    ::kill(pid_, signal);
    int raw = 0;
    ::waitpid(pid_, &raw, 0);
    pid_ = -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  [[nodiscard]] bool started() const { return pid_ > 0; }
  [[nodiscard]] pid_t pid() const { return pid_; }
  /// The exit status once it ended by itself within `seconds` (-1: by a signal), else none.
  std::optional<int> exited(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int raw = 0;
    while (::waitpid(pid_, &raw, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

 private:
  pid_t pid_ = -1;
};

/// Waits up to `seconds` for the file to exist with content other than `before`; its content then.
std::string changed(const fs::path& p, const std::string& before, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    std::string now = slurp(p);
    if (!now.empty() && now != before) return now;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return before;
}

TEST_F(WatchCommand, AFeedRewrittenWhileItRunsShowsInThePngWithinTwoSeconds) {
  const fs::path feed = write("widget.json", kOffFeed);
  fs::create_directory(dir_ / "faces");
  Background watch(dir_, {"watch", "--png-dir", "faces", "--widget", "NextUp:systemSmall", "--feed",
                          "widget.json", "--tz", "UTC", "--scale", "1"});
  ASSERT_TRUE(watch.started());
  const fs::path png = dir_ / "faces" / "NextUp-systemSmall.png";
  std::string face = changed(png, "", 10);  // the first face, after start-up
  ASSERT_FALSE(face.empty());

  struct Step {
    const char* what;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"replaced by a rename",
       [&] {
         std::ofstream(dir_ / ".widget.json.tmp") << kBusyFeed;
         fs::rename(dir_ / ".widget.json.tmp", feed);
       }},
      {"rewritten in place", [&] { std::ofstream(feed, std::ios::trunc) << kOffFeed; }},
      {"deleted", [&] { fs::remove(feed); }},
      {"restored", [&] { std::ofstream(feed) << kBusyFeed; }},
      {"rewritten as something not a feed", [&] { std::ofstream(feed, std::ios::trunc) << "{\"v\": 1, "; }},
  };
  for (const Step& s : steps) {
    s.act();
    const std::string next = changed(png, face, 2.0);
    EXPECT_NE(next, face) << s.what;
    face = next;
  }
  EXPECT_EQ(watch.stop(SIGTERM), 0);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir_ / "faces")) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"NextUp-systemSmall.png"});
}

// A folder that stops working (removed; a real small tmpfs filled up, where it can be mounted) is
// reported once, its picture left whole, and written again once it is back; one that never took a
// face ends it with status 1.
TEST_F(WatchCommand, APngFolderThatStopsWorkingIsReportedOnceAndWrittenAgainWhenBack) {
  const fs::path feed = write("widget.json", kOffFeed);
  const fs::path faces = dir_ / "faces";
  const fs::path png = faces / "NextUp-systemSmall.png";
  const std::string fill = "head -c 1M /dev/zero >" + quoted(faces / "filler") + " 2>/dev/null";
  struct Row {
    const char* reason;
    std::string mount, stop, repair;  // shell commands
  };
  const Row rows[] = {
      {"No such file or directory", "", "rm -r " + quoted(faces), "mkdir " + quoted(faces)},
      {"No space left on device", "mount -t tmpfs -o size=256k tmpfs " + quoted(faces) + " 2>/dev/null", fill,
       "rm " + quoted(faces / "filler")},
  };
  const auto rewrite = [&](const char* content) {
    std::ofstream(dir_ / ".next", std::ios::trunc) << content;
    fs::rename(dir_ / ".next", feed);
  };
  for (const Row& row : rows) {
    fs::create_directory(faces);
    if (!row.mount.empty() && std::system(row.mount.c_str()) != 0) continue;  // no tmpfs here
    rewrite(kOffFeed);
    Background watch(dir_,
                     {"watch", "--png-dir", "faces", "--widget", "NextUp:systemSmall", "--feed",
                      "widget.json", "--tz", "UTC", "--scale", "1"},
                     -1, dir_ / "err.txt");
    const std::string before = changed(png, "", 20);
    ASSERT_FALSE(before.empty()) << row.reason;
    const auto errors = [&] { return lines(::slurp(dir_ / "err.txt")); };
    (void)std::system(row.stop.c_str());
    rewrite(kBusyFeed);  // a change it cannot write
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (errors().empty() && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    rewrite(kOffFeed);  // another, while the folder is still out of use
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_EQ(errors().size(), 1u) << row.reason;
    EXPECT_EQ(errors()[0], "ostrel-widgets: cannot write faces/NextUp-systemSmall.png: " +
                               std::string(row.reason) + "; writing again at the next change");
    if (!row.mount.empty()) {
      EXPECT_TRUE(::slurp(png) == before) << row.reason << ": the picture is no longer whole";
    }
    ASSERT_EQ(std::system(row.repair.c_str()), 0) << row.reason;
    rewrite(kBusyFeed);
    EXPECT_NE(changed(png, before, 10), before) << row.reason;
    EXPECT_EQ(watch.stop(SIGTERM), 0);
    EXPECT_EQ(errors(), (std::vector<std::string>{errors()[0], "ostrel-widgets: writing to faces again"}));
    EXPECT_EQ(temporaryFiles(), std::vector<std::string>{}) << row.reason;
    if (!row.mount.empty()) (void)std::system(("umount " + quoted(faces)).c_str());
    fs::remove_all(faces);
  }

  // A folder that never took a face: a file stands where the face goes.
  fs::create_directories(dir_ / "taken" / "NextUp-systemSmall.png");
  const Outcome r = run("watch --png-dir taken --widget NextUp:systemSmall --feed widget.json --scale 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ostrel-widgets: error: taken/NextUp-systemSmall.png: Is a directory\n");
}

TEST_F(WatchCommand, EndsWithStatusZeroUnlessItCouldNotWrite) {
  write("widget.json", kBusyFeed);
  // The reader of its output goes away after the first line.
  EXPECT_EQ(
      std::system(("bash -c 'set -o pipefail; cd \"" + dir_.string() + "\" && \"" + OSTREL_COMMAND + "\"" +
                   " watch --format text --feed widget.json --speed max --now 2026-03-02T10:00:30Z"
                   " --until 2026-03-09T10:00:30Z | head -n 1 >/dev/null'")
                      .c_str()),
      0);
  // A full disk is a failure, not a reader that left.
  EXPECT_EQ(std::system(("cd " + quoted(dir_) + " && " + quoted(OSTREL_COMMAND) +
                         " watch --format text --feed widget.json --speed max --now 2026-03-02T10:00:30Z"
                         " --until 2026-03-02T11:00:30Z >/dev/full 2>/dev/null")
                            .c_str()),
            1 << 8);
  // At --until, with nothing to show after it.
  const Outcome r =
      run("watch --format text --feed widget.json --tz UTC --widget NextUp:systemSmall --speed max "
          "--now 2026-03-02T10:00:30Z --until 2026-03-02T10:00:30Z");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

// Whatever the reader of its lines does, it ends promptly and cleanly: a reader that goes away while
// no face changes (a bar that quit), a pipe left full and a signal (SIGINT, SIGTERM, SIGHUP).
TEST_F(WatchCommand, EndsWithinASecondWhateverTheReaderDoes) {
  struct Row {
    const char* what;
    bool busy;   // a feed whose faces change often (at 10,000 times real time), else none at all
    int signal;  // sent once the pipe is full (0: the reader closes its end after the first line)
  };
  const Row rows[] = {
      {"the reader goes away, no face changes", false, 0},
      {"SIGTERM while the pipe is full", true, SIGTERM},
      {"SIGINT while the pipe is full", true, SIGINT},
      {"SIGHUP while the pipe is full", true, SIGHUP},
  };
  write("widget.json", kBusyFeed);
  for (const Row& row : rows) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    std::vector<std::string> args{"watch", "--format", "json", "--tz", "UTC"};
    if (row.busy) {
      args.insert(args.end(), {"--feed", "widget.json", "--now", "2026-03-02T10:00:30Z", "--speed", "10000"});
    } else {
      args.insert(args.end(), {"--feed", "absent.json", "--widget", "NextUp:systemSmall"});
    }
    Background watch(dir_, args, pipe[1]);
    ::close(pipe[1]);
    ASSERT_TRUE(watch.started()) << row.what;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int waiting = 0;
    if (row.signal == 0) {
      char c = 0;
      while (::read(pipe[0], &c, 1) == 1 && c != '\n') {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(300));  // settled, with nothing more to write
    } else {
      while ((::ioctl(pipe[0], FIONREAD, &waiting) != 0 || waiting < 60'000) &&
             std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    const auto before = std::chrono::steady_clock::now();
    if (row.signal == 0) {
      ::close(pipe[0]);
    } else {
      ::kill(watch.pid(), row.signal);
    }
    const std::optional<int> status = watch.exited(10);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - before;
    if (row.signal != 0) ::close(pipe[0]);
    ASSERT_TRUE(status) << row.what << " (" << waiting << " bytes waiting in the pipe)";
    EXPECT_EQ(*status, 0) << row.what;
    EXPECT_LT(took.count(), 1.0) << row.what;
  }
}

TEST_F(WatchCommand, BadUsageIsOneLineAndStatusTwo) {
  struct Row {
    std::string args, error;
  };
  const Row rows[] = {
      {"watch", "watch needs an output: --png-dir DIR or --format"},
      {"watch --format waybar",
       "--format waybar shows exactly one widget: name it with --widget KIND:FAMILY"},
      {"watch --format waybar --widget NextUp:systemSmall --widget DueSoon:systemLarge",
       "--format waybar shows exactly one widget: name it with --widget KIND:FAMILY"},
      {"watch --format text --widget NextUp", "--widget: not KIND:FAMILY with a known kind: NextUp"},
      {"watch --format text --widget Later:systemSmall",
       "--widget: not KIND:FAMILY with a known kind: Later:systemSmall"},
      {"watch --format text --widget NextUp:systemLarge",
       "--widget: NextUp is not offered in systemLarge; it offers systemSmall, systemMedium"},
      {"watch --format text --speed max", "--speed max needs --until"},
      {"watch --format csv", "--format: csv not in {text,short,json,waybar}"},
  };
  for (const Row& row : rows) {
    const Outcome r = run(row.args + " --feed absent.json");
    EXPECT_EQ(r.status, 2) << row.args;
    EXPECT_EQ(r.out, "") << row.args;
    EXPECT_EQ(r.err, "ostrel-widgets: error: " + row.error + "\n") << row.args;
  }
  for (const char* speed : {"0", "-2", "fast", "1e400", "nan"}) {
    const Outcome r = run(std::string("watch --format text --speed ") + speed);
    EXPECT_EQ(r.status, 2) << speed;
    EXPECT_NE(r.err.find("--speed"), std::string::npos) << speed;
  }
}

}  // namespace
