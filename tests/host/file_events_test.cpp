#include "host/file_events.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace ostrel {
namespace {

TEST(FileEvents, OnlyEventsNamingTheFeedConcernIt) {
  struct Row {
    const char* name;
    const char* other;
    bool concerns;
  };
  const Row rows[] = {
      {"widget.json", "", true},                  // created, changed in place, deleted
      {".widget.json.tmp", "widget.json", true},  // a temporary file renamed over it
      {"widget.json", "widget.json.old", true},   // renamed away
      {"other.json", "", false},
      {".widget.json.tmp", "", false},  // the app writing its temporary file
      {"widget.json~", "", false},
      {"WIDGET.JSON", "", false},
      {"", "", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(FileEvents::concernsFeed(r.name, r.other, "widget.json"), r.concerns) << r.name;
  EXPECT_FALSE(FileEvents::concernsFeed("", "", ""));
}

TEST(FileEvents, ABurstSettlesWhenQuietSoonAfterAFinishedWriteOrAfterASecond) {
  struct Event {
    double at;              // monotonic seconds
    bool finishes = false;  // renamed into place or closed after writing
  };
  struct Row {
    const char* what;
    std::vector<Event> events;
    double settles;
  };
  const Row rows[] = {
      {"one event", {{10}}, 10.25},
      {"created, changed, changes done", {{10}, {10.001}, {10.002, true}}, 10.042},
      {"a temporary file renamed over it", {{10, true}}, 10.04},
      {"changed again after a finished write", {{10, true}, {10.01}}, 10.26},
      {"events 200 ms apart", {{10}, {10.2}, {10.4}}, 10.65},
      {"a pause longer than the quiet time would end it", {{10}, {10.24}}, 10.49},
      {"a steady stream settles a second after it began",
       {{10}, {10.1}, {10.2}, {10.3}, {10.4}, {10.5}, {10.6}, {10.7}, {10.8}, {10.9}},
       11.0},
      {"an event reported late does not move the end back", {{10}, {10.2}, {10.1}}, 10.45},
      {"nor does one that came before a finished write", {{10}, {10.2, true}, {10.1}}, 10.24},
  };
  for (const Row& r : rows) {
    std::optional<Burst> burst;
    for (const Event& e : r.events) burst = FileEvents::add(burst, e.at, e.finishes);
    ASSERT_TRUE(burst);
    EXPECT_DOUBLE_EQ(FileEvents::settlesAt(*burst), r.settles) << r.what;
    EXPECT_FALSE(FileEvents::settled(*burst, r.settles - 0.001)) << r.what;
    EXPECT_TRUE(FileEvents::settled(*burst, r.settles)) << r.what;
  }
}

}  // namespace
}  // namespace ostrel
