// The engine's pure decisions and its lines, as tables of data under tests/data/engine/: each row's
// last cell is what the function makes of the cells before it.
#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "engine/face_line.hpp"
#include "engine/file_events.hpp"
#include "engine/refresh_cause.hpp"
#include "engine/schedule.hpp"
#include "engine/system_locale.hpp"
#include "engine/system_zone.hpp"
#include "support/rows.hpp"
#include "timeline/feeds.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using Cells = std::vector<std::string>;
using testing_timeline::kTen;
namespace fs = std::filesystem;

std::vector<std::string> words(const std::string& text, char apart = ' ') {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; std::getline(in, w, apart);) {
    if (const auto first = w.find_first_not_of(' '); first != std::string::npos)
      out.push_back(w.substr(first));
  }
  return out;
}
std::string number(double x) {
  std::ostringstream out;
  out << x;
  return out.str();
}
std::string yes(bool b) {
  return b ? "yes" : "no";
}
std::string orNone(const std::optional<std::string>& s) {
  return s.value_or("-");
}
const char* orNull(const std::string& cell) {
  return cell == "-" ? nullptr : cell.c_str();
}

struct Dated {
  Date date;
};
Timeline<Dated> timeline(const std::string& entries, const std::string& reload = "0") {
  Timeline<Dated> t{.entries = {}, .policy = TimelineReloadPolicy::after(kTen + std::stod(reload))};
  for (const std::string& e : words(entries)) t.entries.push_back({kTen + std::stod(e)});
  return t;
}

std::uint32_t mask(const std::string& cell) {
  static const std::map<std::string, std::uint32_t> bits{
      {"CLOSE_WRITE", IN_CLOSE_WRITE}, {"MOVED_TO", IN_MOVED_TO},
      {"MOVED_FROM", IN_MOVED_FROM},   {"MODIFY", IN_MODIFY},
      {"CREATE", IN_CREATE},           {"DELETE", IN_DELETE},
      {"ATTRIB", IN_ATTRIB},           {"DELETE_SELF", IN_DELETE_SELF},
      {"MOVE_SELF", IN_MOVE_SELF},     {"ISDIR", IN_ISDIR},
      {"Q_OVERFLOW", IN_Q_OVERFLOW}};
  std::uint32_t out = 0;
  for (const std::string& b : words(cell, '+'))
    out |= bits.count(b) ? bits.at(b) : static_cast<std::uint32_t>(std::stoul(b, nullptr, 0));
  return out;
}
const char* const kRoles[] = {"feed", "target", "awaited", "above"};
const char* const kMeanings[] = {"none", "touched", "writing", "written", "moved", "lost"};

std::string plan(const Cells& c) {
  const std::set<fs::path> folders = [&] {
    std::set<fs::path> out{"/"};
    for (const std::string& f : words(c[1])) out.insert(f);
    return out;
  }();
  const auto links = [](const fs::path& p) -> std::optional<fs::path> {
    if (p == "/w/widget.json") return fs::path{"/data/feed.json"};
    if (p == "/w/sub") return fs::path{"/t/one/two"};
    return std::nullopt;
  };
  std::string out;
  for (const WatchedFolder& w : FileEvents::plan(
           c[0], [&](const fs::path& p) { return folders.count(p) > 0; }, links)) {
    out +=
        (out.empty() ? "" : "; ") + w.folder.string() + " " + kRoles[static_cast<int>(w.role)] + " " + w.name;
  }
  return out;
}

std::string meaning(const Cells& c) {
  static const std::map<std::string, WatchedFolder> in{
      {"feed", {"/w", FolderRole::feed, "widget.json"}},
      {"awaited", {"/a", FolderRole::awaited, "widgets"}},
      {"above", {"/", FolderRole::above, "w"}},
      {"target", {"/data", FolderRole::target, "feed.json"}}};
  return kMeanings[static_cast<int>(FileEvents::meaning(in.at(c[0]), mask(c[1]), c[2]))];
}

std::string burst(const Cells& c) {
  std::optional<Burst> b;
  for (const std::string& e : words(c[0])) {
    const FileEvent event = e.back() == 'w'   ? FileEvent::written
                            : e.back() == 'o' ? FileEvent::writing
                                              : FileEvent::touched;
    b = FileEvents::add(b, std::stod(e), event);
  }
  const double at = FileEvents::settlesAt(*b);
  const bool exact = !FileEvents::settled(*b, at - 0.001) && FileEvents::settled(*b, at);
  return exact ? number(at) : "not settled at " + number(at);
}

std::string cause(const Cells& c) {
  static const std::map<std::string, RefreshEvent> events{{"start", RefreshEvent::start},
                                                          {"wake", RefreshEvent::wake},
                                                          {"set", RefreshEvent::set},
                                                          {"feed", RefreshEvent::feed},
                                                          {"system", RefreshEvent::system}};
  const auto held = [&](const char* what) { return c[1].find(what) != std::string::npos; };
  const RefreshCause got = refreshCause(RefreshOccasion{.event = events.at(c[0]),
                                                        .reachedUntil = held("until"),
                                                        .clockJumped = held("jumped"),
                                                        .reloadDue = held("reload"),
                                                        .systemChanged = held("changed")});
  const char* const names[] = {"until", "start", "feed", "system", "jump", "policy", "entry", "none"};
  return names[static_cast<int>(got)];
}

std::string line(const Cells& c) {
  const WidgetConfiguration w = NextUpWidget{}.body();
  const ClassItem lesson{.unit = c[0],
                         .title = "Lecture",
                         .where = c[1],
                         .start = kTen + 2400,
                         .end = kTen + 6000,
                         .color = std::nullopt};
  const Face face{.kind = w.kind,
                  .family = WidgetFamily::systemSmall,
                  .entry = Entry{.date = kTen + 0.25, .loaded = testing_timeline::feedOf({lesson})},
                  .content = w.content,
                  .shortState = w.shortState};
  const std::optional<LineFormat> format = lineFormatNamed(c[2]);
  return format ? faceLine(face, *format) : "-";
}

struct Table {
  const char* file;
  const char* name;
  std::function<std::string(const Cells&)> check;
};

const Table kTables[] = {
    {"schedule", "current",
     [](const Cells& c) {
       const std::optional<std::size_t> at =
           Schedule::current(timeline(c[0]).entries, kTen + std::stod(c[1]));
       return at ? std::to_string(*at) : "-";
     }},
    {"schedule", "wake",
     [](const Cells& c) {
       return number(Schedule::nextWake(timeline(c[0], c[1]), kTen + std::stod(c[2])) - kTen);
     }},
    {"schedule", "reload",
     [](const Cells& c) { return yes(Schedule::reloadDue(timeline(c[0], c[1]), kTen + std::stod(c[2]))); }},
    {"schedule", "jumped",
     [](const Cells& c) {
       const ClockReading before{.wall = kTen, .monotonic = 1000};
       return yes(Schedule::clockJumped(
           before, {.wall = kTen + std::stod(c[0]), .monotonic = 1000 + std::stod(c[1])}));
     }},
    {"refresh_cause", "refresh", cause},
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

void PrintTo(const Table& table, std::ostream* out) {
  *out << table.file << ".rows: " << table.name;
}

class EngineTables : public testing::TestWithParam<Table> {};

TEST_P(EngineTables, EveryRowHolds) {
  const Table& t = GetParam();
  const std::vector<test_support::Row> rows =
      test_support::rowsOf(std::string("engine/") + t.file + ".rows", t.name);
  ASSERT_FALSE(rows.empty());
  for (const test_support::Row& r : rows) {
    const Cells in(r.cells.begin(), r.cells.end() - 1);
    EXPECT_EQ(t.check(in), r.cells.back()) << r.where;
  }
}

std::string tableName(const testing::TestParamInfo<Table>& table) {
  return table.param.name;
}
INSTANTIATE_TEST_SUITE_P(, EngineTables, testing::ValuesIn(kTables), tableName);

}  // namespace
}  // namespace ostrel
