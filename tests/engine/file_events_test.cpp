#include "engine/file_events.hpp"

#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <optional>
#include <set>
#include <vector>

namespace ostrel {
namespace {

using Path = std::filesystem::path;

}  // namespace

void PrintTo(const WatchedFolder& w, std::ostream* os) {
  *os << w.folder << " " << static_cast<int>(w.role) << " " << w.name;
}

namespace {

TEST(FileEvents, ThePlanWatchesTheNearestExistingFolderEachOneAboveAndWhereLinksLead) {
  constexpr FolderRole feed = FolderRole::feed, awaited = FolderRole::awaited, above = FolderRole::above;
  const auto links = [](const Path& p) -> std::optional<Path> {
    if (p == "/w/widget.json") return Path{"/data/feed.json"};
    if (p == "/w/sub") return Path{"/t/one/two"};
    return std::nullopt;
  };
  struct Row {
    Path feed;
    std::set<Path> folders;  // besides the root
    std::vector<WatchedFolder> plan;
  };
  const Row rows[] = {
      {"/h/u/widgets/widget.json",
       {"/h", "/h/u", "/h/u/widgets"},
       {{"/h/u/widgets", feed, "widget.json"},
        {"/h/u", above, "widgets"},
        {"/h", above, "u"},
        {"/", above, "h"}}},
      {"/h/u/widgets/widget.json", {"/h"}, {{"/h", awaited, "u"}, {"/", above, "h"}}},
      {"/h/u/widgets/widget.json", {}, {{"/", awaited, "h"}}},
      {"/widget.json", {}, {{"/", feed, "widget.json"}}},
      // The feed is a link: also where it leads, once that folder is there.
      {"/w/widget.json",
       {"/w", "/data"},
       {{"/w", feed, "widget.json"}, {"/", above, "w"}, {"/data", FolderRole::target, "feed.json"}}},
      {"/w/widget.json", {"/w"}, {{"/w", feed, "widget.json"}, {"/", above, "w"}}},
      // A linked folder whose target is not there: the way to it too.
      {"/w/sub/widget.json",
       {"/w", "/t"},
       {{"/w", awaited, "sub"}, {"/", above, "w"}, {"/t", awaited, "one"}}},
  };
  for (const Row& r : rows) {
    const auto isFolder = [&](const Path& p) { return r.folders.count(p) > 0; };
    EXPECT_EQ(FileEvents::plan(r.feed, isFolder, links), r.plan) << r.feed << " " << r.folders.size();
  }
}

TEST(FileEvents, WhatAnEventMeans) {
  const WatchedFolder feed{"/w", FolderRole::feed, "widget.json"};
  const WatchedFolder awaited{"/a", FolderRole::awaited, "widgets"};
  const WatchedFolder above{"/", FolderRole::above, "w"};
  const WatchedFolder target{"/data", FolderRole::target, "feed.json"};
  struct Row {
    const WatchedFolder& in;
    std::uint32_t mask;
    const char* name;
    FileEvent meaning;
  };
  const Row rows[] = {
      {feed, IN_CLOSE_WRITE, "widget.json", FileEvent::written},
      {feed, IN_MOVED_TO, "widget.json", FileEvent::written},  // a temporary file renamed over it
      {feed, IN_MOVED_FROM, ".widget.json.tmp", FileEvent::none},
      {feed, IN_MODIFY, "widget.json", FileEvent::writing},
      {feed, IN_CREATE, "widget.json", FileEvent::touched},
      {feed, IN_DELETE, "widget.json", FileEvent::touched},
      {feed, IN_MOVED_FROM, "widget.json", FileEvent::touched},
      {feed, IN_ATTRIB, "widget.json", FileEvent::touched},  // chmod
      {feed, IN_CLOSE_WRITE, "widget.json~", FileEvent::none},
      {feed, IN_MODIFY, "WIDGET.JSON", FileEvent::none},
      {target, IN_CLOSE_WRITE, "feed.json", FileEvent::written},  // where the feed's link leads
      {target, IN_MODIFY, "feed.json", FileEvent::writing},
      {feed, IN_DELETE_SELF, "", FileEvent::moved},                  // the feed's folder deleted ...
      {feed, IN_MOVE_SELF, "", FileEvent::moved},                    // ... or moved away
      {awaited, IN_CREATE | IN_ISDIR, "widgets", FileEvent::moved},  // the next folder appears
      {awaited, IN_CREATE, "widgets", FileEvent::moved},             // a link to a folder
      {awaited, IN_CREATE | IN_ISDIR, "other", FileEvent::none},
      {awaited, IN_MODIFY, "widgets", FileEvent::none},
      {above, IN_MOVED_FROM | IN_ISDIR, "w", FileEvent::moved},  // the watched folder moved away
      {above, IN_MOVED_TO | IN_ISDIR, "w", FileEvent::moved},    // or a new one swapped in
      {above, IN_ATTRIB | IN_ISDIR, "w", FileEvent::none},
      {above, IN_CREATE, "x", FileEvent::none},
      {feed, IN_Q_OVERFLOW, "", FileEvent::lost},  // events were dropped: whatever they said
      {feed, 0, "widget.json", FileEvent::lost},   // nothing this watch knows how to read
      {feed, 0x00100000U | IN_MODIFY, "widget.json", FileEvent::lost},
  };
  for (const Row& r : rows)
    EXPECT_EQ(FileEvents::meaning(r.in, r.mask, r.name), r.meaning)
        << r.in.folder << " " << r.mask << " " << r.name;
}

TEST(FileEvents, ABurstSettlesWhenQuietSoonAfterAFinishedWriteOrAfterASecond) {
  struct Event {
    double at;  // monotonic seconds
    FileEvent event = FileEvent::touched;
  };
  constexpr FileEvent written = FileEvent::written;
  constexpr FileEvent writing = FileEvent::writing;
  struct Row {
    const char* what;
    std::vector<Event> events;
    double settles;
  };
  const Row rows[] = {
      {"one event", {{10}}, 10.25},
      {"created, changed, closed", {{10}, {10.001}, {10.002, written}}, 10.042},
      {"a temporary file renamed over it", {{10, written}}, 10.04},
      {"changed again after a finished write", {{10, written}, {10.01}}, 10.26},
      {"events 200 ms apart", {{10}, {10.2}, {10.4}}, 10.65},
      {"a pause longer than the quiet time would end it", {{10}, {10.24}}, 10.49},
      {"a steady stream settles a second after it began",
       {{10}, {10.1}, {10.2}, {10.3}, {10.4}, {10.5}, {10.6}, {10.7}, {10.8}, {10.9}},
       11.0},
      {"an event reported late does not move the end back", {{10}, {10.2}, {10.1}}, 10.45},
      {"nor does one that came before a finished write", {{10}, {10.2, written}, {10.1}}, 10.24},
      {"written in place, not closed: waits for the close", {{10, writing}, {12, writing}}, 20},
      {"... closed at last", {{10, writing}, {12, writing}, {12.001, written}}, 12.041},
      {"... or a file renamed over it", {{10, writing}, {11}, {12, written}}, 12.04},
      {"... a mode change does not end it", {{10, writing}, {10.1}}, 20},
      {"a later write after a closed one", {{10, written}, {10.5, writing}}, 20},
  };
  for (const Row& r : rows) {
    std::optional<Burst> burst;
    for (const Event& e : r.events) burst = FileEvents::add(burst, e.at, e.event);
    ASSERT_TRUE(burst);
    EXPECT_DOUBLE_EQ(FileEvents::settlesAt(*burst), r.settles) << r.what;
    EXPECT_FALSE(FileEvents::settled(*burst, r.settles - 0.001)) << r.what;
    EXPECT_TRUE(FileEvents::settled(*burst, r.settles)) << r.what;
  }
}

}  // namespace
}  // namespace ostrel
