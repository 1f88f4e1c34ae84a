// The feed followed through a real folder tree by the engine: folders made, deleted, swapped,
// moved and linked while it runs (tests/data/engine/feed_watch.rows); the face follows within two
// seconds of the last change.
#include "engine/feed_watch.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "engine/loop.hpp"
#include "support/rows.hpp"
#include "support/scratch.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;
using namespace test_support;

/// Carries out one step in the tree under `root`.
void step(const fs::path& root, const std::string& text) {
  std::istringstream in(text);
  std::string verb, a, b, c;
  in >> verb >> a >> b >> c;
  const std::string verbs = " file folder remove move exchange link pause flood pieces ";
  ASSERT_NE(verbs.find(" " + verb + " "), std::string::npos) << "no such step: " << text;
  const std::string on = R"({"v":1,"enabled":true,"at":"2026-03-02T09:00:00Z"})";
  const std::string off = R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})";
  if (verb == "file" || verb == "folder")
    fs::create_directories(verb == "file" ? (root / a).parent_path() : root / a);
  if (verb == "file") std::ofstream(root / a, std::ios::binary) << (b == "on" ? on : off);
  if (verb == "remove") fs::remove_all(root / a);
  if (verb == "move") fs::rename(root / a, root / b);
  if (verb == "exchange") {
    ASSERT_EQ(::renameat2(AT_FDCWD, (root / a).c_str(), AT_FDCWD, (root / b).c_str(), RENAME_EXCHANGE), 0);
  }
  if (verb == "link") {
    fs::create_symlink(a, root / (b + ".new"));
    fs::rename(root / (b + ".new"), root / b);
  }
  if (verb == "pause") pause(std::stod(a));
  if (verb == "flood") {
    for (int i = 0; i < 20'000; ++i) ::utimensat(AT_FDCWD, (root / (i % 2 == 0 ? a : b)).c_str(), nullptr, 0);
  }
  if (verb == "pieces") {
    std::ofstream f(root / a, std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0, size = std::stoul(b); i < on.size(); i += size) {
      if (i > 0 && !c.empty()) pause(std::stod(c));
      f << on.substr(i, size) << std::flush;
    }
  }
}

using FeedWatchTest = ScratchTest;

TEST_F(FeedWatchTest, TheFaceFollowsTheFeedWhicheverPartOfItsPathExists) {
  const auto follow = rows("engine/feed_watch.rows", "follow");
  ASSERT_FALSE(follow.empty());
  for (const Row& r : follow) {
    const fs::path root = dir_ / r.fields[0];
    fs::create_directories(root);
    for (const std::string& s : words(r.fields[1], ';')) step(root, s);
    Engine engine(nextUpSmall(), settingsFor(root / "a/b/widgets/widget.json"),
                  EngineClock::simulated(kStart, 1));
    Recorder out;
    engine.subscribe(out);
    engine.start();
    pause(0.1);
    for (const std::string& s : words(r.fields[2], ';')) step(root, s);
    const std::string after = r.fields[3].substr(0, r.fields[3].find(' '));
    EXPECT_TRUE(runUntil([&] { return after == name(out.faces.back().entry.loaded.which()); }, 2.0))
        << r.where;
    if (r.fields[3].ends_with("once")) {
      pause(0.5);
      EXPECT_EQ(engine.stats().feedReloads, 1U) << r.where;
    }
    if (r.fields[3].ends_with("steady")) {
      for (const Face& f : out.faces) EXPECT_NE(f.entry.loaded.which(), Loaded::Case::missing) << r.where;
    }
    engine.stop();
  }
}

}  // namespace
}  // namespace ostrel
