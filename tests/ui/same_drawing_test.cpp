#include "ui/same_drawing.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

View face(const std::string& countdown, double entryDate, Color color = Color::secondary()) {
  return Composite(
      "NextUpView", {{{"date", entryDate}}},
      VStack(HorizontalAlignment::leading, 3,
             {
                 Text::verbatim("FINC3600").font(Font::system(11)),
                 Composite("When", {{{"date", 100.0}, {"now", entryDate}}}, Text::verbatim(countdown))
                     .foregroundStyle(color),
             }));
}

TEST(SameDrawing, CompositeArgumentsDoNotCountEverythingDrawnDoes) {
  struct Row {
    const char* what;
    View other;
    bool same;
  };
  const View base = face("in 5 min", 10);
  const Row rows[] = {
      {"the same tree", face("in 5 min", 10), true},
      {"a later entry drawn alike", face("in 5 min", 20), true},
      {"another countdown", face("in 4 min", 20), false},
      {"another colour on a composite", face("in 5 min", 10, Color::rgb(1, 0, 0)), false},
      {"a primitive's argument",
       Composite("NextUpView", {{{"date", 10.0}}}, VStack(HorizontalAlignment::leading, 4, {})), false},
      {"a modifier's argument",
       Composite(
           "NextUpView", {{{"date", 10.0}}},
           VStack(HorizontalAlignment::leading, 3,
                  {
                      Text::verbatim("FINC3600").font(Font::system(12)),
                      Composite("When", {}, Text::verbatim("in 5 min")).foregroundStyle(Color::secondary()),
                  })),
       false},
      {"a child fewer",
       Composite(
           "NextUpView", {{{"date", 10.0}}},
           VStack(HorizontalAlignment::leading, 3, {Text::verbatim("FINC3600").font(Font::system(11))})),
       false},
      {"a modifier's content view", View(base).background(ColorView(Color::rgb(0, 0, 1))), false},
      {"another composite around the same body", Composite("DueView", {{{"date", 10.0}}}, base.children[0]),
       false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(sameDrawing(base, r.other), r.same) << r.what;
    EXPECT_EQ(sameDrawing(r.other, base), r.same) << r.what;
  }
  EXPECT_TRUE(sameDrawing(View(base).background(ColorView(Color::rgb(0, 0, 1))),
                          face("in 5 min", 30).background(ColorView(Color::rgb(0, 0, 1)))));
}

}  // namespace
}  // namespace ostrel
