#include "timeline/entry_reason.hpp"

#include <gtest/gtest.h>

#include "feeds.hpp"
#include "support/rows.hpp"

namespace ostrel {
namespace {

using namespace testing_timeline;

/// The reasons of the date `seconds` after kTen, in words: "now", "start 0", "end 1", "drop-off 0",
/// "mark 20" (a minute mark), "5-mark 65"; "-" where the date is no entry.
std::string reasonsAt(const std::vector<ReasonedDate>& dates, double seconds) {
  const auto at =
      std::find_if(dates.begin(), dates.end(), [&](const auto& d) { return d.date == kTen + seconds; });
  if (at == dates.end()) return "-";
  constexpr const char* kWords[] = {"now", "mark", "5-mark", "start", "end", "drop-off"};
  std::string s;
  for (const EntryReason& r : at->reasons) {
    s += (s.empty() ? "" : ", ") + std::string(kWords[static_cast<int>(r.kind)]) +
         (r.kind == EntryReason::Kind::now ? "" : " " + std::to_string(r.index));
  }
  return s;
}

/// An instant of tests/data/timeline/reasons.rows in seconds after kTen: terms in seconds, or with
/// "h" or "m", summed ("70m+30").
double seconds(const std::string& text) {
  double total = 0;
  for (std::size_t at = 0, used = 0; at < text.size(); at += used) {
    const double n = std::stod(text.substr(at), &used);
    const char unit = at + used < text.size() ? text[at + used] : 's';
    total += n * (unit == 'h' ? kHour : unit == 'm' ? 60 : 1);
    used += unit == 'h' || unit == 'm' ? 1 : 0;
  }
  return total;
}

TEST(TimelineReasons, EachDateWithWhyItIsThere) {
  const auto rows = test_support::rows("timeline/reasons.rows");
  ASSERT_GE(rows.size(), 10u);
  for (const test_support::Row& r : rows) {
    std::vector<ClassItem> classes;
    std::vector<DueItem> due;
    for (const std::string& item : test_support::words(r[3], ';')) {
      const std::vector<std::string> w = test_support::words(item);
      if (w[0] == "class") classes.push_back(lesson(kTen + seconds(w.at(1)), kTen + seconds(w.at(2))));
      if (w[0] == "due") due.push_back(deadline(kTen + seconds(w.at(1))));
    }
    const Loaded loaded = r[3] == "missing" ? Loaded::missing()
                          : r[3] == "off"   ? Loaded::off()
                                            : feedOf(classes, due);
    const std::vector<ReasonedDate> got = timelineReasons(kTen + seconds(r[1]), kTen + seconds(r[2]), loaded);
    EXPECT_EQ(got.size(), std::stoul(r[4])) << r.where << " " << r[0];
    EXPECT_TRUE(
        std::is_sorted(got.begin(), got.end(), [](const auto& a, const auto& b) { return a.date < b.date; }));
    for (const std::string& probe : test_support::words(r[5], ';')) {
      const std::size_t eq = probe.find('=');
      EXPECT_EQ(reasonsAt(got, seconds(probe.substr(0, eq))), probe.substr(eq + 1))
          << r.where << " " << r[0] << ": " << probe;
    }
  }
}

}  // namespace
}  // namespace ostrel
