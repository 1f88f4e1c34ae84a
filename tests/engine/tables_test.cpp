// The engine's pure decisions and its lines, as tables of data under tests/data/engine/: each row's
// last cell is what the function makes of the cells before it.
#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

#include "engine/face_line.hpp"
#include "engine/file_events.hpp"
#include "engine/refresh_cause.hpp"
#include "engine/schedule.hpp"
#include "engine/system_locale.hpp"
#include "engine/system_zone.hpp"
#include "feed/decoder.hpp"
#include "support/rows.hpp"
#include "timeline/feeds.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using Cells = std::vector<std::string>;
using testing_timeline::kTen;
namespace fs = std::filesystem;
using test_support::words;

/// The index of `name` in `names`, as the enumeration they name in order.
template <class E, std::size_t N>
E named(const char* const (&names)[N], const std::string& name) {
  return static_cast<E>(std::find(std::begin(names), std::end(names), name) - std::begin(names));
}
const auto at = [](const std::string& s) { return kTen + std::stod(s); };
const auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
const auto orNone = [](const std::optional<std::string>& s) { return s.value_or("-"); };
const auto orNull = [](const std::string& cell) { return cell == "-" ? nullptr : cell.c_str(); };
const auto number = [](double x) { return (std::ostringstream() << x).str(); };

struct Dated {
  Date date;
};
Timeline<Dated> timeline(const std::string& entries, const std::string& reload = "0") {
  Timeline<Dated> t{.entries = {}, .policy = TimelineReloadPolicy::after(at(reload))};
  for (const std::string& e : words(entries)) t.entries.push_back({at(e)});
  return t;
}

const char* const kRoles[] = {"feed", "target", "awaited", "above"};
const char* const kMeanings[] = {"none", "touched", "writing", "written", "moved", "lost"};
const char* const kEvents[] = {"start", "wake", "set", "feed", "system"};
const char* const kCauses[] = {"until", "start", "feed", "system", "jump", "policy", "entry", "none"};

std::uint32_t mask(const std::string& cell) {
  const std::map<std::string, std::uint32_t> bits{
      {"MODIFY", IN_MODIFY},         {"ATTRIB", IN_ATTRIB},           {"CLOSE_WRITE", IN_CLOSE_WRITE},
      {"MOVED_FROM", IN_MOVED_FROM}, {"MOVED_TO", IN_MOVED_TO},       {"CREATE", IN_CREATE},
      {"DELETE", IN_DELETE},         {"DELETE_SELF", IN_DELETE_SELF}, {"MOVE_SELF", IN_MOVE_SELF},
      {"ISDIR", IN_ISDIR},           {"Q_OVERFLOW", IN_Q_OVERFLOW}};
  std::uint32_t out = 0;
  for (const std::string& b : words(cell, '+'))
    out |= bits.count(b) != 0 ? bits.at(b) : static_cast<std::uint32_t>(std::stoul(b, nullptr, 0));
  return out;
}

std::string plan(const Cells& c) {
  const Cells there = words(c[1]);
  const auto links = [](const fs::path& p) -> std::optional<fs::path> {
    if (p == "/w/widget.json") return fs::path{"/data/feed.json"};
    if (p == "/w/sub") return fs::path{"/t/one/two"};
    return std::nullopt;
  };
  const auto isFolder = [&](const fs::path& p) {
    return p == "/" || std::count(there.begin(), there.end(), p);
  };
  std::string out;
  for (const WatchedFolder& w : FileEvents::plan(c[0], isFolder, links))
    out +=
        (out.empty() ? "" : "; ") + w.folder.string() + " " + kRoles[static_cast<int>(w.role)] + " " + w.name;
  return out;
}

std::string meaning(const Cells& c) {
  const char* const names[] = {"widget.json", "feed.json", "widgets", "w"};
  const char* const folders[] = {"/w", "/data", "/a", "/"};
  const auto role = named<FolderRole>(kRoles, c[0]);
  const WatchedFolder in{folders[static_cast<int>(role)], role, names[static_cast<int>(role)]};
  return kMeanings[static_cast<int>(FileEvents::meaning(in, mask(c[1]), c[2]))];
}

std::string burst(const Cells& c) {
  std::optional<Burst> b;
  for (const std::string& e : words(c[0])) {
    const std::string kind = e.find(':') == std::string::npos ? "touched" : e.substr(e.find(':') + 1);
    b = FileEvents::add(b, std::stod(e), named<FileEvent>(kMeanings, kind));
  }
  const double settles = FileEvents::settlesAt(*b);
  const bool exact = !FileEvents::settled(*b, settles - 0.001) && FileEvents::settled(*b, settles);
  return exact ? number(settles) : "not settled at " + number(settles);
}

/// The feed of `cell` (face_line.rows), or a note.
Loaded loadedOf(const std::string& cell) {
  if (cell == "off" || cell == "missing") return cell == "off" ? Loaded::off() : Loaded::missing();
  const auto feed = decodeFeed(R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z")" +
                               (cell.empty() ? "" : "," + cell) + "}");
  return feed ? Loaded::feed(*feed) : Loaded::missing();
}

std::string line(const Cells& c) {
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    if (w.kind != c[0]) continue;
    const Face face{.kind = w.kind,
                    .family = w.families.front(),
                    .entry = Entry{.date = kTen + 0.25, .loaded = loadedOf(c[1])},
                    .content = w.content,
                    .shortState = w.shortState};
    if (c[2] == "state") return face.state().state + ": " + face.state().text;
    const std::optional<LineFormat> format = lineFormatNamed(c[2]);
    return format ? faceLine(face, *format) : "-";
  }
  return "no widget " + c[0];
}

struct Table {
  const char* file;
  const char* name;
  std::function<std::string(const Cells&)> check;
};

const Table kTables[] = {
    {"schedule", "current",
     [](const Cells& c) {
       const auto shown = Schedule::current(timeline(c[0]).entries, at(c[1]));
       return shown ? std::to_string(*shown) : "-";
     }},
    {"schedule", "wake",
     [](const Cells& c) { return number(Schedule::nextWake(timeline(c[0], c[1]), at(c[2])) - kTen); }},
    {"schedule", "reload",
     [](const Cells& c) { return yes(Schedule::reloadDue(timeline(c[0], c[1]), at(c[2]))); }},
    {"schedule", "jumped",
     [](const Cells& c) {
       const double wall = std::stod(c[0]), monotonic = 1000 + std::stod(c[1]);
       return yes(Schedule::clockJumped({.wall = kTen, .monotonic = 1000},
                                        {.wall = kTen + wall, .monotonic = monotonic}));
     }},
    {"refresh_cause", "refresh",
     [](const Cells& c) {
       const auto held = [&](const char* what) { return c[1].find(what) != std::string::npos; };
       return kCauses[static_cast<int>(refreshCause({.event = named<RefreshEvent>(kEvents, c[0]),
                                                     .reachedUntil = held("until"),
                                                     .clockJumped = held("jumped"),
                                                     .reloadDue = held("reload"),
                                                     .systemChanged = held("changed")}))];
     }},
    {"file_events", "plan", plan},
    {"file_events", "meaning", meaning},
    {"file_events", "burst", burst},
    {"system_settings", "link", [](const Cells& c) { return orNone(SystemZone::fromLink(c[0])); }},
    {"system_settings", "timezone", [](const Cells& c) { return orNone(SystemZone::fromText(c[0])); }},
    {"system_settings", "assignments",
     [](const Cells& c) {
       std::string out;
       for (const std::string& a : SystemLocale::assignments(c[0])) out += (out.empty() ? "" : ";") + a;
       return out;
     }},
    {"system_settings", "locale",
     [](const Cells& c) {
       return SystemLocale::from(words(c[0], ';'),
                                 {.lcAll = orNull(c[1]), .lcTime = orNull(c[2]), .lang = orNull(c[3])});
     }},
    {"face_line", "line", line},
};

class EngineTables : public testing::TestWithParam<Table> {};

TEST_P(EngineTables, EveryRowHolds) {
  const Table& t = GetParam();
  const auto rows = test_support::rows(std::string("engine/") + t.file + ".rows", t.name);
  ASSERT_FALSE(rows.empty()) << t.file << ".rows: " << t.name;
  for (const test_support::Row& r : rows)
    EXPECT_EQ(t.check(Cells(r.fields.begin(), r.fields.end() - 1)), r.fields.back()) << r.where;
}
INSTANTIATE_TEST_SUITE_P(, EngineTables, testing::ValuesIn(kTables));

}  // namespace
}  // namespace ostrel
