// The feed followed through a real folder tree by the engine: folders made, deleted, swapped,
// moved and linked while it runs; the face follows within two seconds of the last change.
#include "engine/feed_watch.hpp"

#include <fcntl.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.hpp"
#include "support/scratch.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;
constexpr Date kStart{1'772'445'630};  // 2026-03-02T10:00:30Z
constexpr const char* kOn = R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z"})";
constexpr const char* kOff = R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})";

class Recorder : public FaceOutput {
 public:
  void show(const Face& face) override { faces.push_back(face.entry.loaded.which()); }
  std::vector<Loaded::Case> faces;
};

/// Runs the main loop until `done` holds or `seconds` of real time pass.
bool runUntil(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, FALSE);
  return done();
}

void pause(double seconds) {
  runUntil([] { return false; }, seconds);
}

/// The feed's folder tree under a scratch folder: the feed is root/a/b/widgets/widget.json.
struct Tree {
  fs::path root;
  void folder(const std::string& p) const { fs::create_directories(root / p); }
  void file(const std::string& p, const char* text) const {
    fs::create_directories((root / p).parent_path());
    std::ofstream(root / p, std::ios::binary) << text;
  }
  void move(const std::string& from, const std::string& to) const { fs::rename(root / from, root / to); }
  void exchange(const std::string& a, const std::string& b) const {
    ASSERT_EQ(::renameat2(AT_FDCWD, (root / a).c_str(), AT_FDCWD, (root / b).c_str(), RENAME_EXCHANGE), 0);
  }
  void remove(const std::string& p) const { fs::remove_all(root / p); }
  /// Makes `p` a link to `target`, replacing what is there at once (a link renamed over it).
  void link(const std::string& target, const std::string& p) const {
    fs::create_symlink(target, root / (p + ".new"));
    fs::rename(root / (p + ".new"), root / p);
  }
};

using FeedWatchTest = test_support::ScratchTest;

TEST_F(FeedWatchTest, TheFaceFollowsTheFeedWhicheverPartOfItsPathExists) {
  struct Row {
    const char* what;
    std::function<void(const Tree&)> before, change;
    Loaded::Case after;
    bool steady = false;  // no note for a missing feed on the way
  };
  const auto withFeed = [](const char* text) {
    return [text](const Tree& t) { t.file("a/b/widgets/widget.json", text); };
  };
  const Row rows[] = {
      {"no folder yet, then all made at once", [](const Tree&) {},
       [](const Tree& t) { t.file("a/b/widgets/widget.json", kOn); }, Loaded::Case::feed},
      {"the folders made one by one", [](const Tree&) {},
       [](const Tree& t) {
         for (const char* f : {"a", "a/b", "a/b/widgets"}) {
           t.folder(f);
           pause(0.3);
         }
         t.file("a/b/widgets/widget.json", kOn);
       },
       Loaded::Case::feed},
      {"the folder deleted and made again 0.3 s later", withFeed(kOff),
       [](const Tree& t) {
         t.remove("a/b/widgets");
         pause(0.3);
         t.file("a/b/widgets/widget.json", kOn);
       },
       Loaded::Case::feed},
      {"a folder higher up deleted and made again", withFeed(kOff),
       [](const Tree& t) {
         t.remove("a");
         pause(0.5);
         t.file("a/b/widgets/widget.json", kOn);
       },
       Loaded::Case::feed},
      {"a new folder swapped in", withFeed(kOff),
       [](const Tree& t) {
         t.file("a/b/new/widget.json", kOn);
         t.move("a/b/widgets", "a/b/old");
         t.move("a/b/new", "a/b/widgets");
       },
       Loaded::Case::feed},
      {"exchanged with another folder at once", withFeed(kOff),
       [](const Tree& t) {
         t.file("a/b/new/widget.json", kOn);
         t.exchange("a/b/new", "a/b/widgets");
       },
       Loaded::Case::feed},
      {"the folder moved away", withFeed(kOn), [](const Tree& t) { t.move("a/b/widgets", "a/b/gone"); },
       Loaded::Case::missing},
      {"a folder higher up moved away", withFeed(kOn), [](const Tree& t) { t.move("a", "gone"); },
       Loaded::Case::missing},
      {"a linked folder pointed elsewhere",
       [](const Tree& t) {
         t.file("t1/widget.json", kOff);
         t.folder("a/b");
         t.link("../../t1", "a/b/widgets");
       },
       [](const Tree& t) {
         t.file("t2/widget.json", kOn);
         t.link("../../t2", "a/b/widgets");
       },
       Loaded::Case::feed},
      {"a linked folder's target deleted",
       [](const Tree& t) {
         t.file("t1/widget.json", kOn);
         t.folder("a/b");
         t.link("../../t1", "a/b/widgets");
       },
       [](const Tree& t) { t.remove("t1"); }, Loaded::Case::missing},
      {"a linked folder's target deleted and made again",
       [](const Tree& t) {
         t.file("t1/widget.json", kOn);
         t.folder("a/b");
         t.link("../../t1", "a/b/widgets");
       },
       [](const Tree& t) {
         t.remove("t1");
         pause(0.5);
         t.file("t1/widget.json", kOff);
       },
       Loaded::Case::off},
      {"the feed's link target rewritten in place",
       [](const Tree& t) {
         t.file("t/real.json", kOff);
         t.folder("a/b/widgets");
         t.link("../../../t/real.json", "a/b/widgets/widget.json");
       },
       [](const Tree& t) { t.file("t/real.json", kOn); }, Loaded::Case::feed},
      {"the feed's link pointed elsewhere, then that file rewritten",
       [](const Tree& t) {
         t.file("t/real.json", kOn);
         t.folder("a/b/widgets");
         t.link("../../../t/real.json", "a/b/widgets/widget.json");
       },
       [](const Tree& t) {
         t.file("u/other.json", kOff);
         t.link("../../../u/other.json", "a/b/widgets/widget.json");
         pause(0.6);
         t.file("u/other.json", kOn);
       },
       Loaded::Case::feed},
      {"written in place slowly: half, a pause of 2 s, the rest", withFeed(kOff),
       [](const Tree& t) {
         const std::string text = kOn;
         std::ofstream f(t.root / "a/b/widgets/widget.json", std::ios::binary | std::ios::trunc);
         f << text.substr(0, text.size() / 2) << std::flush;
         pause(2.0);
         f << text.substr(text.size() / 2);
       },
       Loaded::Case::feed, true},
      {"renamed into place after the event queue overflowed", withFeed(kOff),
       [](const Tree& t) {
         // The loop does not run meanwhile, as when the process is stopped: the queue fills up.
         t.file("a/b/widgets/x0", "");
         t.file("a/b/widgets/x1", "");
         const std::string busy[] = {(t.root / "a/b/widgets/x0").string(),
                                     (t.root / "a/b/widgets/x1").string()};
         for (int i = 0; i < 20'000; ++i) ::utimensat(AT_FDCWD, busy[i % 2].c_str(), nullptr, 0);
         t.file("a/b/widgets/.widget.json.tmp", kOn);
         t.move("a/b/widgets/.widget.json.tmp", "a/b/widgets/widget.json");
       },
       Loaded::Case::feed},
  };
  for (const Row& r : rows) {
    const Tree tree{dir_ / r.what};
    fs::create_directories(tree.root);
    r.before(tree);
    Engine engine({ShownWidget{.widget = NextUpWidget{}.body(), .family = WidgetFamily::systemSmall}},
                  EngineSettings{.feed = tree.root / "a/b/widgets/widget.json",
                                 .timeZone = TimeZone::utc(),
                                 .locale = "en_US",
                                 .until = std::nullopt,
                                 .system = {}},
                  EngineClock::simulated(kStart, 1));
    Recorder out;
    engine.subscribe(out);
    engine.start();
    pause(0.1);
    r.change(tree);
    EXPECT_TRUE(runUntil([&] { return out.faces.back() == r.after; }, 2.0)) << r.what;
    if (r.steady) {
      EXPECT_EQ(std::count(out.faces.begin(), out.faces.end(), Loaded::Case::missing), 0) << r.what;
    }
    engine.stop();
  }
}

}  // namespace
}  // namespace ostrel
