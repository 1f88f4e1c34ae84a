// `ostrel-widgets watch` while it runs: how it ends whatever its reader does, and a PNG folder that
// stops working under it. (What it prints, and its refusals, are cases of tests/data/cli/commands.txt.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

#include "command.hpp"
#include "support/golden.hpp"

namespace ostrel::cli_test {
namespace {

namespace fs = std::filesystem;
using namespace test_support;

const char* const kOffFeed = R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})";
const char* const kBusyFeed = R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z","classes":[
  {"unit":"FINC3600","title":"Lecture","start":"2026-03-02T09:30:00Z","end":"2026-03-02T10:45:00Z"},
  {"unit":"COMP2123","title":"Tutorial","start":"2026-03-02T14:10:20Z","end":"2026-03-02T15:00:00Z"}]})";

class WatchCommand : public CommandTest {
 protected:
  /// `watch ARGS` running in the folder, its standard output to `out` (else nowhere).
  [[nodiscard]] Process start(std::vector<std::string> args, int out = -1) const {
    args.insert(args.begin(), {"env", "-C", dir_.string(), OSTREL_COMMAND, "watch", "--tz", "UTC"});
    const auto pass = out >= 0 ? std::optional(std::pair(out, 1)) : std::nullopt;
    return {args, {.env = {}, .out = {}, .err = dir_ / "err.txt", .passFd = pass, .prefix = {}}};
  }
  /// What it said on standard error.
  [[nodiscard]] std::string said() const { return readBytes(dir_ / "err.txt").value_or(""); }
  /// Replaces the feed at once, as the app does.
  void feed(const char* content) const {
    write(".next", content);
    fs::rename(dir_ / ".next", dir_ / "widget.json");
  }
};

// A reader that goes away while no face changes (a bar that quit), a pipe left full and a signal
// (SIGINT, SIGTERM, SIGHUP): it ends within a second, with status 0.
TEST_F(WatchCommand, EndsWithinASecondWhateverTheReaderDoes) {
  struct Row {
    const char* what;
    int signal;  // sent once the pipe is full of a busy feed's lines at 10,000 times real time; 0: the
                 // reader closes its end after the first line of a feed whose faces never change
  };
  const Row rows[] = {{"the reader goes away, no face changes", 0},
                      {"SIGTERM while the pipe is full", SIGTERM},
                      {"SIGINT while the pipe is full", SIGINT},
                      {"SIGHUP while the pipe is full", SIGHUP}};
  feed(kBusyFeed);
  for (const Row& row : rows) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    Process watch = start(
        words(row.signal != 0 ? "--format json --feed widget.json --now 2026-03-02T10:00:30Z --speed 10000"
                              : "--format json --feed absent.json --widget NextUp:systemSmall"),
        pipe[1]);
    ::close(pipe[1]);
    int waiting = 0;
    if (row.signal == 0) {
      for (char c = 0; ::read(pipe[0], &c, 1) == 1 && c != '\n';) {
      }
    } else {
      EXPECT_TRUE(
          eventually([&] { return ::ioctl(pipe[0], FIONREAD, &waiting) == 0 && waiting >= 60'000; }, 20));
    }
    sleepFor(0.3);  // settled
    const double before = monotonic();
    row.signal == 0 ? ::close(pipe[0]) : ::kill(watch.pid(), row.signal);
    const std::optional<int> status = watch.wait(10);
    const double took = monotonic() - before;
    if (row.signal != 0) ::close(pipe[0]);
    ASSERT_TRUE(status) << row.what << " (" << waiting << " bytes waiting in the pipe)";
    EXPECT_EQ(*status, 0) << row.what;
    EXPECT_LT(took, 1.0) << row.what;
  }
}

// A folder that stops working (removed; a real small tmpfs filled up, where one can be mounted) is
// reported once, its picture left whole, and written again once it is back.
TEST_F(WatchCommand, APngFolderThatStopsWorkingIsReportedOnceAndWrittenAgainWhenBack) {
  const fs::path faces = dir_ / "faces";
  const fs::path png = faces / "NextUp-systemSmall.png";
  const auto q = [](const fs::path& p) { return "'" + p.string() + "'"; };
  struct Row {
    const char* reason;
    std::string mount, stop, repair;  // shell commands
  };
  const Row rows[] = {
      {"No such file or directory", "", "rm -r " + q(faces), "mkdir " + q(faces)},
      {"No space left on device", "mount -t tmpfs -o size=256k tmpfs " + q(faces) + " 2>/dev/null",
       "head -c 1M /dev/zero >" + q(faces / "filler") + " 2>/dev/null", "rm " + q(faces / "filler")},
  };
  const auto face = [&] { return readBytes(png).value_or(""); };
  for (const Row& row : rows) {
    fs::create_directory(faces);
    if (!row.mount.empty() && std::system(row.mount.c_str()) != 0) continue;  // no tmpfs here
    feed(kOffFeed);
    Process watch = start(words("--png-dir faces --widget NextUp:systemSmall --feed widget.json --scale 1"));
    ASSERT_TRUE(eventually([&] { return !face().empty(); }, 20)) << row.reason;
    const std::string before = face();
    (void)std::system(row.stop.c_str());
    feed(kBusyFeed);  // a change it cannot write
    ASSERT_TRUE(eventually([&] { return !said().empty(); }, 10)) << row.reason;
    feed(kOffFeed);  // another, while the folder is still out of use
    sleepFor(0.5);
    const std::string failed =
        "ostrel-widgets: cannot write faces/NextUp-systemSmall.png: " + std::string(row.reason) +
        "; writing again at the next change\n";
    ASSERT_EQ(said(), failed);
    EXPECT_TRUE(row.mount.empty() || face() == before) << "the picture is no longer whole";
    ASSERT_EQ(std::system(row.repair.c_str()), 0) << row.reason;
    feed(kBusyFeed);
    EXPECT_TRUE(eventually([&] { return !face().empty() && face() != before; }, 10)) << row.reason;
    EXPECT_EQ(watch.stop(SIGTERM), 0);
    EXPECT_EQ(said(), failed + "ostrel-widgets: writing to faces again\n");
    std::vector<fs::path> left{fs::directory_iterator(faces), {}};
    EXPECT_EQ(left, std::vector<fs::path>{png}) << row.reason;
    if (!row.mount.empty()) (void)std::system(("umount " + q(faces)).c_str());
    fs::remove_all(faces);
  }
}

}  // namespace
}  // namespace ostrel::cli_test
