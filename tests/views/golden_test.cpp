// Golden tree dumps of every face: each kind in each family it offers, in each situation that face
// can tell apart from the others, in both schemes. The files live in tests/golden/trees/;
// UPDATE_GOLDEN=1 rewrites them (then read the diff).

#include "support/golden.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "faces.hpp"
#include "ui/text_dump.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

/// The faces a situation is drawn for, as a set of bits.
enum Faces : unsigned {
  nextUpSmall = 1,
  nextUpMedium = 2,
  dueSoonMedium = 4,
  dueSoonLarge = 8,
  nextUp = nextUpSmall | nextUpMedium,
  dueSoon = dueSoonMedium | dueSoonLarge,
  every = nextUp | dueSoon,
};

unsigned faceBit(const std::string& kind, WidgetFamily family) {
  if (kind == NextUpWidget::kind) return family == WidgetFamily::systemSmall ? nextUpSmall : nextUpMedium;
  return family == WidgetFamily::systemLarge ? dueSoonLarge : dueSoonMedium;
}

struct Situation {
  const char* name;
  std::function<Entry()> entry;
  unsigned faces;  ///< where it shows something no other situation of the face shows
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
      {"no-feed", [] { return Entry{.date = kNow, .loaded = Loaded::missing()}; }, every},
      {"switched-off", [] { return Entry{.date = kNow, .loaded = Loaded::off()}; }, every},
      {"sample", [] { return Entry{.date = kNow, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))}; },
       every},
      {"on-now", [] { return Entry{.date = kNow + 50 * kMin, .loaded = feedOf(week(), deadlines())}; },
       every},
      // The small face of the next class shows what the sample shows.
      {"next-with-room", [] { return Entry{.date = kNow, .loaded = feedOf(week(), deadlines())}; },
       nextUpMedium | dueSoon},
      {"next-without-room",
       [] { return Entry{.date = kNow + 3 * kHour, .loaded = feedOf(week(), deadlines(), 1)}; }, every},
      {"no-class-this-week",
       [] { return Entry{.date = kNow + 60 * kHour, .loaded = feedOf(week(), std::vector<DueItem>{}, 0)}; },
       every},
      {"due-empty", [] { return Entry{.date = kNow, .loaded = feedOf(week(), std::vector<DueItem>{}, 0)}; },
       dueSoon},
      {"overdue",
       [] {
         auto d = deadlines();
         d.insert(d.begin(), deadline("COMP2123", "Assignment 1", kNow - 2 * kHour, 10.0, std::nullopt));
         return Entry{.date = kNow, .loaded = feedOf(week(), d, 12)};
       },
       dueSoon},
      {"six-items",
       [] {
         std::vector<DueItem> six;
         for (int i = 0; i < 6; ++i) {
           six.push_back(deadline("AMED3003", "Reading quiz " + std::to_string(i + 1),
                                  kNow + (i + 1) * 9 * kHour, 5.0));
         }
         return Entry{.date = kNow, .loaded = feedOf(week(), six)};
       },
       dueSoon},
      {"no-next-class",
       [] {
         return Entry{.date = kNow, .loaded = feedOf(std::nullopt, deadlines(), std::nullopt, std::nullopt)};
       },
       every},
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
        if ((situations()[s].faces & faceBit(widgets[w].kind, f)) == 0) continue;
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

std::string dump(const Face& f) {
  return dumpText(OstrelWidgets{}.body()[f.widget].content(situations()[f.situation].entry(),
                                                           faceEnvironment(f.family, f.scheme)));
}

void PrintTo(const Face& f, std::ostream* os) {
  *os << fileName(f);
}

class GoldenTrees : public testing::TestWithParam<Face> {};

TEST_P(GoldenTrees, MatchTheReviewedDump) {
  const std::string actual = dump(GetParam());
  const std::filesystem::path path = test_support::goldenPath("trees/" + fileName(GetParam()));
  if (test_support::updatingGoldens()) {
    ASSERT_TRUE(test_support::writeBytes(path, actual)) << path;
    GTEST_SKIP() << "rewrote " << path;
  }
  const auto expected = test_support::readBytes(path);
  ASSERT_TRUE(expected) << "no golden file " << path << " (run with UPDATE_GOLDEN=1)";
  EXPECT_EQ(actual, *expected) << path;
}

INSTANTIATE_TEST_SUITE_P(Faces, GoldenTrees, testing::ValuesIn(matrix()), [](const auto& param) {
  std::string n = fileName(param.param);
  n = n.substr(0, n.size() - 4);
  for (char& ch : n) {
    if (ch == '-') ch = '_';
  }
  return n;
});

TEST(GoldenTrees, EachSituationOfAFaceShowsSomethingTheOthersDoNot) {
  std::map<std::string, std::string> seen;  // dump -> the golden that shows it
  for (const Face& f : matrix()) {
    const auto [at, fresh] = seen.emplace(dump(f), fileName(f));
    EXPECT_TRUE(fresh) << fileName(f) << " is the same as " << at->second;
  }
}

TEST(GoldenTrees, EveryFileBelongsToAFace) {
  std::set<std::string> expected;
  for (const Face& f : matrix()) expected.insert(fileName(f));
  for (const auto& entry : std::filesystem::directory_iterator(test_support::goldenPath("trees"))) {
    EXPECT_TRUE(expected.contains(entry.path().filename().string()))
        << entry.path().filename() << " is drawn by no face; remove it";
  }
}

}  // namespace
}  // namespace ostrel
