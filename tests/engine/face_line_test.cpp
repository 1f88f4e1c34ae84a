// What status bars are given for a face: its state and short line, and the three line formats.
#include "engine/face_line.hpp"

#include <gtest/gtest.h>

#include "timeline/feeds.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using testing_timeline::kTen;

ClassItem lesson(const char* unit, double start, double end) {
  return ClassItem{.unit = unit,
                   .title = "Lecture",
                   .where = "ABS \"1010\"",
                   .start = kTen + start,
                   .end = kTen + end,
                   .color = std::nullopt};
}

DueItem deadline(const char* unit, double due) {
  return DueItem{
      .unit = unit, .name = "Quiz", .due = kTen + due, .weight = std::nullopt, .color = std::nullopt};
}

Face faceOf(const WidgetConfiguration& w, WidgetFamily family, Loaded loaded, double at = 0) {
  return Face{.kind = w.kind,
              .family = family,
              .entry = Entry{.date = kTen + at, .loaded = std::move(loaded)},
              .timeZone = "UTC",
              .locale = "en_US",
              .content = w.content,
              .shortState = w.shortState};
}

TEST(ShortState, StateAndShortLineOfEachSituation) {
  struct Row {
    const char* what;
    Face face;
    ShortState expected;
  };
  const WidgetConfiguration next = NextUpWidget{}.body();
  const WidgetConfiguration due = DueWidget{}.body();
  const auto small = WidgetFamily::systemSmall;
  const auto medium = WidgetFamily::systemMedium;
  const Row rows[] = {
      {"switched off", faceOf(next, small, Loaded::off()), {"off", "Widgets are off"}},
      {"no usable feed", faceOf(due, medium, Loaded::missing()), {"missing", "Open Ostrel"}},
      {"a class ahead",
       faceOf(next, small, testing_timeline::feedOf({lesson("FINC3600", 2400, 6000)}, {})),
       {"next", "FINC3600 in 40 min"}},
      {"a class under way",
       faceOf(next, small, testing_timeline::feedOf({lesson("FINC3600", -600, 3000)}, {})),
       {"on-now", "FINC3600 ends 10:50\u202fAM"}},
      {"classes over",
       faceOf(next, small, testing_timeline::feedOf({lesson("FINC3600", -6000, -600)}, {})),
       {"none", "No class this week"}},
      {"nothing due",
       faceOf(due, medium, testing_timeline::feedOf({}, {})),
       {"none", "Nothing due in the next three weeks"}},
      {"the nearest of several",
       faceOf(due, medium, testing_timeline::feedOf({}, {deadline("LATE", 9000), deadline("SOON", 7200)})),
       {"due", "SOON in 2 h"}},
      {"one overdue among them",
       faceOf(due, medium, testing_timeline::feedOf({}, {deadline("SOON", 60), deadline("PAST", -60)})),
       {"overdue", "PAST Overdue"}},
      {"a deadline past its drop-off is not listed",
       faceOf(due, medium, testing_timeline::feedOf({}, {deadline("GONE", -43'260)})),
       {"none", "Nothing due in the next three weeks"}},
  };
  for (const Row& r : rows) EXPECT_EQ(r.face.state(), r.expected) << r.what;
}

TEST(FaceLine, TheFourFormats) {
  const Face face = faceOf(NextUpWidget{}.body(), WidgetFamily::systemSmall,
                           testing_timeline::feedOf({lesson("FINC3600", 2400, 6000)}, {}), 0.25);
  const std::string label = "Next up: FINC3600, Lecture, in 40 min, ABS \"1010\"";
  EXPECT_EQ(faceLine(face, LineFormat::text), label);
  EXPECT_EQ(faceLine(face, LineFormat::shortText), "FINC3600 in 40 min");
  EXPECT_EQ(
      faceLine(face, LineFormat::json),
      R"({"at": "2026-03-02T10:00:00.250Z", "kind": "NextUp", "family": "systemSmall", )"
      R"("label": "Next up: FINC3600, Lecture, in 40 min, ABS \"1010\"", "loaded": "feed", "state": "next"})");
  EXPECT_EQ(
      faceLine(face, LineFormat::waybar),
      R"({"text": "FINC3600 in 40 min", "tooltip": "Next up: FINC3600, Lecture, in 40 min, ABS &quot;1010&quot;", )"
      R"("class": "next", "alt": "next"})");
  EXPECT_EQ(lineFormatNamed("waybar"), LineFormat::waybar);
  EXPECT_EQ(lineFormatNamed("short"), LineFormat::shortText);
  EXPECT_EQ(lineFormatNamed("JSON"), std::nullopt);
}

// Waybar reads `text` and `tooltip` as Pango markup: feed texts reach it escaped.
TEST(FaceLine, WaybarTextsAreMarkupShowingTheFeedVerbatim) {
  struct Row {
    const char *unit, *where, *text, *tooltip;
  };
  const Row rows[] = {
      {"R&D1001", "Q&A <live>", "R&amp;D1001 in 40 min",
       "Next up: R&amp;D1001, Lecture, in 40 min, Q&amp;A &lt;live&gt;"},
      {"<b>X</b>", "it's \"on\"", "&lt;b&gt;X&lt;/b&gt; in 40 min",
       "Next up: &lt;b&gt;X&lt;/b&gt;, Lecture, in 40 min, it&apos;s &quot;on&quot;"},
      {"&amp;", "a > b", "&amp;amp; in 40 min", "Next up: &amp;amp;, Lecture, in 40 min, a &gt; b"},
  };
  for (const Row& r : rows) {
    ClassItem c = lesson(r.unit, 2400, 6000);
    c.where = r.where;
    const Face face =
        faceOf(NextUpWidget{}.body(), WidgetFamily::systemSmall, testing_timeline::feedOf({c}, {}));
    EXPECT_EQ(faceLine(face, LineFormat::waybar), std::string(R"({"text": ")") + r.text +
                                                      R"(", "tooltip": ")" + r.tooltip +
                                                      R"(", "class": "next", "alt": "next"})")
        << r.unit;
  }
}

}  // namespace
}  // namespace ostrel
