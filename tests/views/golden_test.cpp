// Golden tree dumps of every face: each kind, offered family, situation and scheme. The files live in
// tests/golden/trees/; UPDATE_GOLDEN=1 rewrites them (then read the diff).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "faces.hpp"
#include "platform/ui/text_dump.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

struct Situation {
  const char* name;
  std::function<Entry()> entry;
};

std::vector<ClassItem> week() {
  return {lesson("FINC3600", "Lecture", "ABS Lecture Theatre 1010", kNow + 40 * kMin, 1),
          lesson("AMED3003", "Tutorial", std::nullopt, kNow + 5 * kHour, 1, kAmed),
          lesson("COMP2123", "Lab", "SIT Lab 117", kNow + 26 * kHour, 2, std::nullopt),
          lesson("STAT2011", "Lecture", "Carslaw 159", kNow + 50 * kHour, 1)};
}

std::vector<DueItem> deadlines() {
  return {deadline("AMED3003", "Oral presentation", kNow + 20 * kHour, 20.0),
          deadline("FINC3600", "Part 2 report", kNow + 72 * kHour, 30.0, kFinc),
          deadline("STAT2011", "Weekly quiz", kNow + 6 * 24 * kHour, 2.5, std::nullopt)};
}

const std::vector<Situation>& situations() {
  static const std::vector<Situation> all{
      {"no-feed", [] { return Entry{.date = kNow, .loaded = Loaded::missing()}; }},
      {"switched-off", [] { return Entry{.date = kNow, .loaded = Loaded::off()}; }},
      {"sample",
       [] { return Entry{.date = kNow, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))}; }},
      {"on-now", [] { return Entry{.date = kNow + 50 * kMin, .loaded = feedOf(week(), deadlines())}; }},
      {"next-with-room", [] { return Entry{.date = kNow, .loaded = feedOf(week(), deadlines())}; }},
      {"next-without-room",
       [] { return Entry{.date = kNow + 3 * kHour, .loaded = feedOf(week(), deadlines(), 1)}; }},
      {"no-class-this-week",
       [] { return Entry{.date = kNow + 60 * kHour, .loaded = feedOf(week(), std::vector<DueItem>{}, 0)}; }},
      {"due-empty", [] { return Entry{.date = kNow, .loaded = feedOf(week(), std::vector<DueItem>{}, 0)}; }},
      {"overdue",
       [] {
         auto d = deadlines();
         d.insert(d.begin(), deadline("COMP2123", "Assignment 1", kNow - 2 * kHour, 10.0, std::nullopt));
         return Entry{.date = kNow, .loaded = feedOf(week(), d, 12)};
       }},
      {"six-items",
       [] {
         std::vector<DueItem> six;
         for (int i = 0; i < 6; ++i) {
           six.push_back(deadline("AMED3003", "Reading quiz " + std::to_string(i + 1),
                                  kNow + (i + 1) * 9 * kHour, 5.0));
         }
         return Entry{.date = kNow, .loaded = feedOf(week(), six)};
       }},
      {"no-next-class",
       [] {
         return Entry{.date = kNow, .loaded = feedOf(std::nullopt, deadlines(), std::nullopt, std::nullopt)};
       }},
  };
  return all;
}

struct Face {
  std::size_t widget;
  WidgetFamily family;
  std::size_t situation;
  ColorScheme scheme;
};

std::vector<Face> matrix() {
  std::vector<Face> out;
  const auto widgets = OstrelWidgets{}.body();
  for (std::size_t w = 0; w < widgets.size(); ++w) {
    for (WidgetFamily f : widgets[w].families) {
      for (std::size_t s = 0; s < situations().size(); ++s) {
        for (ColorScheme c : {ColorScheme::light, ColorScheme::dark}) out.push_back({w, f, s, c});
      }
    }
  }
  return out;
}

std::string fileName(const Face& f) {
  return std::string(OstrelWidgets{}.body()[f.widget].kind) + "-" + name(f.family) + "-" +
         situations()[f.situation].name + "-" + name(f.scheme) + ".txt";
}

class GoldenTrees : public testing::TestWithParam<Face> {};

TEST_P(GoldenTrees, MatchTheReviewedDump) {
  const Face& f = GetParam();
  const auto widgets = OstrelWidgets{}.body();
  const Environment env{.widgetFamily = f.family,
                        .colorScheme = f.scheme,
                        .systemVersion = {},
                        .locale = "en_US",
                        .timeZone = "UTC"};
  const std::string dump = dumpText(widgets[f.widget].content(situations()[f.situation].entry(), env));
  const std::filesystem::path path =
      std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/golden/trees" / fileName(f);
  if (std::getenv("UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << dump;
    GTEST_SKIP() << "rewrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no golden file " << path << " (run with UPDATE_GOLDEN=1)";
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(dump, expected.str()) << path;
}

INSTANTIATE_TEST_SUITE_P(Faces, GoldenTrees, testing::ValuesIn(matrix()), [](const auto& param) {
  std::string n = fileName(param.param);
  n = n.substr(0, n.size() - 4);
  for (char& ch : n) {
    if (ch == '-') ch = '_';
  }
  return n;
});

}  // namespace
}  // namespace ostrel
