#include "timeline/entry.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "timeline/sample.hpp"

namespace ostrel {
namespace {

constexpr Date kMonday{1'772'445'600};  // 2026-03-02T10:00:00Z
constexpr double kHour = 3'600;

ClassItem lesson(std::string title, double startHours, double endHours) {
  return ClassItem{.unit = "FINC3600",
                   .title = std::move(title),
                   .where = std::nullopt,
                   .start = kMonday + startHours * kHour,
                   .end = kMonday + endHours * kHour,
                   .color = std::nullopt};
}

DueItem deadline(std::string name, double dueHours) {
  return DueItem{.unit = "AMED3003",
                 .name = std::move(name),
                 .due = kMonday + dueHours * kHour,
                 .weight = 20.0,
                 .color = std::nullopt};
}

Loaded withClasses(std::vector<ClassItem> classes) {
  return Loaded::feed(Feed{.v = 1,
                           .enabled = true,
                           .at = kMonday,
                           .week = std::nullopt,
                           .classes = std::move(classes),
                           .due = std::nullopt,
                           .cards = std::nullopt});
}

std::vector<std::string> titles(const Entry::Items<ClassItem>& cs) {
  std::vector<std::string> out;
  for (const ClassItem& c : cs) out.push_back(c.title);
  return out;
}

TEST(Entry, WithoutAFeedEverySelectionFallsBack) {
  for (const Loaded& l : {Loaded::off(), Loaded::missing()}) {
    const Entry e{.date = kMonday, .loaded = l};
    EXPECT_FALSE(e.next());
    EXPECT_TRUE(e.later().empty());
    EXPECT_TRUE(e.due().empty());
    EXPECT_EQ(e.cards(), 0);
    EXPECT_FALSE(e.week());
  }
}

struct Case {
  const char* what;
  std::vector<ClassItem> classes;
  double atHours;
  std::optional<std::string> next;
  std::vector<std::string> later;
};

class Selections : public testing::TestWithParam<Case> {};

TEST_P(Selections, NextAndLaterFollowDocumentOrderAndStrictComparisons) {
  const Case& c = GetParam();
  const Entry e{.date = kMonday + c.atHours * kHour, .loaded = withClasses(c.classes)};
  const auto n = e.next();
  EXPECT_EQ(n ? std::optional(n->title) : std::nullopt, c.next) << c.what;
  EXPECT_EQ(titles(e.later()), c.later) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Selections,
    testing::Values(Case{"no classes", {}, 0, std::nullopt, {}},
                    Case{"under way", {lesson("a", 0, 1), lesson("b", 2, 3)}, 0.5, "a", {"b"}},
                    Case{"ending exactly now is over", {lesson("a", 0, 1), lesson("b", 2, 3)}, 1, "b", {}},
                    Case{"starting exactly now is next", {lesson("a", 1, 2)}, 1, "a", {}},
                    Case{"all over", {lesson("a", 0, 1)}, 5, std::nullopt, {}},
                    Case{"equal starts are in neither list",
                         {lesson("a", 1, 2), lesson("b", 1, 2), lesson("c", 4, 5)},
                         0,
                         "a",
                         {"c"}},
                    Case{"at most three later, in document order",
                         {lesson("n", 1, 2), lesson("l1", 3, 4), lesson("l2", 5, 6), lesson("l3", 7, 8),
                          lesson("l4", 9, 10), lesson("l5", 11, 12)},
                         0,
                         "n",
                         {"l1", "l2", "l3"}},
                    Case{"unsorted: first listed still to end, even if a later one ends sooner",
                         {lesson("late", 5, 6), lesson("soon", 1, 2)},
                         0,
                         "late",
                         {}},
                    Case{"unsorted: classes listed before next that start after it are later",
                         {lesson("past", -3, -2), lesson("after", 9, 10), lesson("n", 1, 2)},
                         0,
                         "after",
                         {}},
                    Case{"a class listed before next that starts after it is later",
                         {lesson("ends-before-start", 5, -1), lesson("n", 1, 2)},
                         0,
                         "n",
                         {"ends-before-start"}},
                    Case{"earlier-listed class starting after next",
                         {lesson("done", -2, -1), lesson("n", 1, 2), lesson("l", 3, 4)},
                         0,
                         "n",
                         {"l"}},
                    Case{"later depends on the date only through next",
                         {lesson("done", -2, -1), lesson("x", 6, 7), lesson("a", 1, 2), lesson("b", 3, 4)},
                         0,
                         "x",
                         {}},
                    Case{"end before start is judged by its end",
                         {lesson("odd", 5, 1), lesson("b", 2, 3)},
                         0.5,
                         "odd",
                         {}}),
    [](const auto& param) { return "case" + std::to_string(param.index); });

TEST(Entry, DeadlinesStayTwelveHoursAfterTheyFallDue) {
  const Loaded l =
      Loaded::feed(Feed{.v = 1,
                        .enabled = true,
                        .at = kMonday,
                        .week = "Week 10 of 13",
                        .classes = std::nullopt,
                        .due = std::vector<DueItem>{deadline("gone", -13), deadline("edge", -12),
                                                    deadline("grace", -11.99), deadline("far", 24 * 28)},
                        .cards = 7});
  const Entry e{.date = kMonday, .loaded = l};
  std::vector<std::string> names;
  for (const DueItem& d : e.due()) names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<std::string>{"grace", "far"}));
  EXPECT_EQ(e.cards(), 7);
  EXPECT_EQ(e.week(), "Week 10 of 13");
  EXPECT_FALSE(e.next());

  const Entry oneSecondBefore{.date = kMonday - 1, .loaded = l};
  EXPECT_EQ(oneSecondBefore.due().size(), 3u);  // "edge" leaves at its due + 12 h exactly
}

TEST(Entry, SampleAtItsMakingAndTwoHoursLater) {
  const Loaded l = Loaded::feed(Sample::feed(Clock::fixed(kMonday)));
  const Entry atMaking{.date = kMonday, .loaded = l};
  EXPECT_EQ(atMaking.next()->unit, "FINC3600");
  EXPECT_EQ(titles(atMaking.later()), std::vector<std::string>{"Tutorial"});
  ASSERT_EQ(atMaking.due().size(), 2u);
  EXPECT_EQ(atMaking.due()[0].get().name, "Oral presentation");
  EXPECT_EQ(atMaking.cards(), 7);

  const Entry later{.date = kMonday + 2 * kHour, .loaded = l};
  EXPECT_EQ(later.next()->unit, "AMED3003");
  EXPECT_TRUE(later.later().empty());
}

TEST(Sample, IsMadeAfreshFromTheClock) {
  const Feed a = Sample::feed(Clock::fixed(kMonday));
  const Feed b = Sample::feed(Clock::fixed(kMonday + 60));
  EXPECT_EQ(b.at - a.at, 60);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ((*b.classes)[i].start - (*a.classes)[i].start, 60);
    EXPECT_EQ((*b.due)[i].due - (*a.due)[i].due, 60);
  }
  ASSERT_TRUE(b.classes && b.due);
  std::vector<ClassItem> classes = *b.classes;
  std::vector<DueItem> due = *b.due;
  for (std::size_t i = 0; i < 2; ++i) {
    classes[i].start = (*a.classes)[i].start;
    classes[i].end = (*a.classes)[i].end;
    due[i].due = (*a.due)[i].due;
  }
  Feed shifted = b;
  shifted.at = a.at;
  shifted.classes = std::move(classes);
  shifted.due = std::move(due);
  EXPECT_EQ(shifted, a);
}

}  // namespace
}  // namespace ostrel
