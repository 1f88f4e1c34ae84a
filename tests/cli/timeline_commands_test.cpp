// Runs the built command's timeline, entry, snapshot and placeholder subcommands.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;

using ostrel::cli_test::Outcome;
using ostrel::cli_test::quoted;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class TimelineCommands : public ostrel::cli_test::CommandTest {
 protected:
  std::string feedFile(const std::string& content) { return quoted(write(content)); }
  std::string absent() const { return quoted(dir_ / "absent.json"); }
};

constexpr const char* kNow = "--now 2026-03-02T10:00:30Z";

TEST_F(TimelineCommands, TimelineJsonWithoutAFeed) {
  const Outcome r = run("timeline --json --tz UTC " + std::string(kNow) + " --feed " + absent());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(
      r.out.rfind("{\"entries\": [{\"date\": \"2026-03-02T10:00:30.000Z\", \"loaded\": \"missing\", "
                  "\"reasons\": [{\"kind\": \"now\"}]}, {\"date\": \"2026-03-02T10:01:00.000Z\", "
                  "\"loaded\": \"missing\", \"reasons\": [{\"kind\": \"minuteMark\", \"minutes\": 1}]}, ",
                  0),
      0u)
      << r.out.substr(0, 300);
  const std::string tail =
      "{\"date\": \"2026-03-02T13:00:00.000Z\", \"loaded\": \"missing\", \"reasons\": [{\"kind\": "
      "\"fiveMinuteMark\", \"minutes\": 180}]}], \"reload\": \"2026-03-02T10:30:30.000Z\"}\n";
  ASSERT_GE(r.out.size(), tail.size());
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
  EXPECT_EQ(count(r.out, "\"loaded\": \"missing\""), 85u);
  EXPECT_EQ(count(r.out, "\"reasons\": [{"), 85u);
}

// A class from 10:20 to 11:10:30 and a deadline dropping off at 11:00, now 10:00:30: the table shows
// each date in the zone and in UTC with why it is there, several reasons where dates coincide.
const char* const kClassAndDeadline =
    R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","classes":[{"unit":"U","title":"T\u0007",)"
    R"("start":"2026-03-02T10:20:00Z","end":"2026-03-02T11:10:30Z"}],)"
    R"("due":[{"unit":"U","name":"Essay","due":"2026-03-01T23:00:00Z"}]})";

struct Zoned {
  const char* zone;
  const char* now;     ///< 10:00:30Z in the zone
  const char* reload;  ///< 10:30:30Z in the zone
  const char* due;     ///< 2026-03-01T23:00:00Z in the zone
};

class TimelineTable : public TimelineCommands, public testing::WithParamInterface<Zoned> {};

TEST_P(TimelineTable, DatesInTheZoneAndInUtcWithTheirReasons) {
  const Zoned& z = GetParam();
  const Outcome r =
      run("timeline --tz " + quoted(z.zone) + " " + kNow + " --feed " + feedFile(kClassAndDeadline));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto ls = lines(r.out);
  ASSERT_EQ(ls.size(), 87u);
  EXPECT_EQ(ls[0], "86 entries (loaded: feed), reload at " + std::string(z.reload) +
                       " (2026-03-02T10:30:30.000Z), zone " + z.zone);
  EXPECT_EQ(ls[1], std::string(z.now) + "  2026-03-02T10:00:30.000Z  now");
  EXPECT_TRUE(ls[2].ends_with("  2026-03-02T10:01:00.000Z  minute mark")) << ls[2];
  EXPECT_TRUE(ls[21].ends_with("  2026-03-02T10:20:00.000Z  class starts: U T\\x07; minute mark")) << ls[21];
  EXPECT_TRUE(ls[61].ends_with("  2026-03-02T11:00:00.000Z  drops off: U Essay (due " + std::string(z.due) +
                               "); minute mark"))
      << ls[61];
  EXPECT_TRUE(ls[64].ends_with("  2026-03-02T11:10:30.000Z  class ends: U T\\x07")) << ls[64];
  EXPECT_TRUE(ls[86].ends_with("  2026-03-02T13:00:00.000Z  five-minute mark")) << ls[86];
}

INSTANTIATE_TEST_SUITE_P(
    Zones, TimelineTable,
    testing::Values(
        Zoned{"UTC", "2026-03-02T10:00:30.000+00:00", "2026-03-02T10:30:30.000+00:00",
              "2026-03-01T23:00:00.000+00:00"},
        Zoned{"Australia/Sydney", "2026-03-02T21:00:30.000+11:00", "2026-03-02T21:30:30.000+11:00",
              "2026-03-02T10:00:00.000+11:00"},
        Zoned{"America/St_Johns", "2026-03-02T06:30:30.000-03:30", "2026-03-02T07:00:30.000-03:30",
              "2026-03-01T19:30:00.000-03:30"},
        // A rule rather than a file: the ways TZ names a zone are checked against the C library elsewhere.
        Zoned{"<+0545>-5:45", "2026-03-02T15:45:30.000+05:45", "2026-03-02T16:15:30.000+05:45",
              "2026-03-02T04:45:00.000+05:45"}),
    [](const auto& z) {
      std::string name = z.param.zone;
      for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
      }
      return name;
    });

TEST_F(TimelineCommands, TimelineJsonNamesEachReason) {
  const Outcome r =
      run("timeline --json --tz UTC " + std::string(kNow) + " --feed " + feedFile(kClassAndDeadline));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(
      r.out.find("{\"date\": \"2026-03-02T10:20:00.000Z\", \"loaded\": \"feed\", \"reasons\": [{\"kind\": "
                 "\"classStart\", \"index\": 0, \"unit\": \"U\", \"title\": \"T\\u0007\"}, {\"kind\": "
                 "\"minuteMark\", \"minutes\": 20}]}"),
      std::string::npos)
      << r.out;
  EXPECT_NE(
      r.out.find(
          "\"reasons\": [{\"kind\": \"deadlineDropOff\", \"index\": 0, \"unit\": \"U\", \"name\": "
          "\"Essay\", \"due\": \"2026-03-01T23:00:00.000Z\"}, {\"kind\": \"minuteMark\", \"minutes\": 60}]"),
      std::string::npos);
}

TEST_F(TimelineCommands, EntryTableInTheZone) {
  const Outcome r =
      run("entry --tz Australia/Sydney --at 2026-03-02T10:30:00Z --feed " + feedFile(kClassAndDeadline));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "date:   2026-03-02T21:30:00.000+11:00 (2026-03-02T10:30:00.000Z)\n"
            "zone:   Australia/Sydney\n"
            "loaded: feed\n"
            "next:   U  T\\x07  2026-03-02T21:20:00.000+11:00 – 2026-03-02T22:10:30.000+11:00\n"
            "due:    U  Essay  2026-03-02T10:00:00.000+11:00\n"
            "cards:  0\n"
            "week:   none\n");
}

TEST_F(TimelineCommands, TheEnvironmentsZoneAlignsTheMinuteMarksWhateverItNames) {
  // A TZ that names nothing is UTC, as in the C library: the marks stay on minute boundaries.
  const char* saved = std::getenv("TZ");
  const std::string restore = saved != nullptr ? saved : "";
  for (const char* tz : {"Mars/Base", "", ":Asia/Kathmandu"}) {
    ::setenv("TZ", tz, 1);
    const Outcome r = run("timeline " + std::string(kNow) + " --feed " + absent());
    ASSERT_EQ(r.status, 0) << r.err;
    const auto ls = lines(r.out);
    ASSERT_EQ(ls.size(), 86u) << tz;
    EXPECT_TRUE(ls[2].ends_with("  2026-03-02T10:01:00.000Z  minute mark")) << tz << ": " << ls[2];
  }
  if (saved != nullptr) {
    ::setenv("TZ", restore.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
}

TEST_F(TimelineCommands, EntryJsonEscapesFeedText) {
  const std::string feed = feedFile(
      R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","week":"Week 10 of 13","cards":3,)"
      R"("classes":[{"unit":"U1","title":"Say \"hi\"\\ \u0001\n Café ✓","start":"2026-03-02T09:00:00Z",)"
      R"("end":"2026-03-02T11:00:00.250Z","where":"Room 1"},)"
      R"({"unit":"U2","title":"B","start":"2026-03-02T12:00:00Z","end":"2026-03-02T13:00:00Z"}],)"
      R"("due":[{"unit":"U1","name":"Essay","due":"2026-03-02T00:00:00+01:00","weight":12.5},)"
      R"({"unit":"U2","name":"Quiz","due":"2026-03-09T09:00:00Z"}]})");
  const Outcome r = run("entry --json --at 2026-03-02T10:30:00Z --feed " + feed);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      "{\"date\": \"2026-03-02T10:30:00.000Z\", \"loaded\": \"feed\", "
      "\"next\": {\"unit\": \"U1\", \"title\": \"Say \\\"hi\\\"\\\\ \\u0001\\n Café ✓\", \"where\": "
      "\"Room 1\", \"start\": \"2026-03-02T09:00:00.000Z\", \"end\": \"2026-03-02T11:00:00.250Z\"}, "
      "\"later\": [{\"unit\": \"U2\", \"title\": \"B\", \"where\": null, \"start\": "
      "\"2026-03-02T12:00:00.000Z\", \"end\": \"2026-03-02T13:00:00.000Z\"}], "
      "\"due\": [{\"unit\": \"U1\", \"name\": \"Essay\", \"due\": \"2026-03-01T23:00:00.000Z\", "
      "\"weight\": 12.5}, {\"unit\": \"U2\", \"name\": \"Quiz\", \"due\": \"2026-03-09T09:00:00.000Z\", "
      "\"weight\": null}], \"cards\": 3, \"week\": \"Week 10 of 13\"}\n");

  // The readable table shows control characters escaped, never raw.
  const Outcome table = run("entry --tz UTC --at 2026-03-02T10:30:00Z --feed " + feed);
  ASSERT_EQ(table.status, 0);
  EXPECT_EQ(table.out.find('\x01'), std::string::npos);
  EXPECT_NE(table.out.find("Say \"hi\"\\ \\x01\\x0a Café ✓"), std::string::npos) << table.out;
}

TEST_F(TimelineCommands, SnapshotAndPlaceholder) {
  const std::string off = feedFile(R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})");
  struct Row {
    std::string args;
    std::string loaded;
    bool sample;
  };
  const std::string empty = "\"next\": null, \"later\": [], \"due\": [], \"cards\": 0, \"week\": null}\n";
  for (const Row& row :
       {Row{"snapshot --preview --feed " + absent(), "feed", true},
        Row{"snapshot --preview --feed " + off, "off", false},
        Row{"snapshot --feed " + absent(), "missing", false}, Row{"placeholder", "feed", true}}) {
    const Outcome r = run(row.args + " --json " + kNow);
    ASSERT_EQ(r.status, 0) << row.args << r.err;
    const std::string head = "{\"date\": \"2026-03-02T10:00:30.000Z\", \"loaded\": \"" + row.loaded + "\", ";
    EXPECT_EQ(r.out.rfind(head, 0), 0u) << row.args << "\n" << r.out;
    if (row.sample) {
      EXPECT_NE(
          r.out.find("\"next\": {\"unit\": \"FINC3600\", \"title\": \"Lecture\", \"where\": \"ABS Lecture "
                     "Theatre 1010\", \"start\": \"2026-03-02T10:40:30.000Z\", \"end\": "
                     "\"2026-03-02T11:40:30.000Z\"}"),
          std::string::npos)
          << r.out;
      EXPECT_NE(r.out.find("\"cards\": 7, \"week\": \"Week 10 of 13\"}"), std::string::npos);
    } else {
      EXPECT_EQ(r.out, head + empty);
    }
  }
}

}  // namespace
