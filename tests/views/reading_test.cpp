// The faces read aloud: every kind and family over the sample feed at a few instants, and the notes.

#include "ui/reading.hpp"

#include <gtest/gtest.h>

#include "faces.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

// ICU's English data separates the time from AM/PM with a narrow no-break space.
#define NB "\u202F"

struct Row {
  const char* name;
  const char* kind;
  WidgetFamily family;
  Entry entry;
  const char* reading;
};

Entry sampleAt(Date date) {
  return Entry{.date = date, .loaded = Loaded::feed(Sample::feed(Clock::fixed(kNow)))};
}

const Row rows[] = {
    {"NextUpSmall", "NextUp", WidgetFamily::systemSmall, sampleAt(kNow),
     "Next up: FINC3600, Lecture, in 40 min, ABS Lecture Theatre 1010"},
    {"NextUpMedium", "NextUp", WidgetFamily::systemMedium, sampleAt(kNow),
     "Next up: FINC3600, Lecture, in 40 min, ABS Lecture Theatre 1010. Later, Week 10 of 13: AMED3003, "
     "Tutorial, Tue 12:00" NB "PM"},
    {"NextUpOnNow", "NextUp", WidgetFamily::systemSmall, sampleAt(kNow + 50 * kMin),
     "On now: FINC3600, Lecture, ends 11:40" NB "AM, ABS Lecture Theatre 1010"},
    {"NextUpNoClass", "NextUp", WidgetFamily::systemMedium, sampleAt(kNow + 3 * 24 * kHour),
     "Next up: No class this week, Week 10 of 13"},
    {"DueSoonMedium", "DueSoon", WidgetFamily::systemMedium, sampleAt(kNow),
     "Due soon, 7 cards due: Oral presentation, AMED3003, 20%, Wed 10:00" NB
     "AM; Part 2 report, FINC3600, 30%, Thu 10:00" NB "AM"},
    {"DueSoonLarge", "DueSoon", WidgetFamily::systemLarge, sampleAt(kNow),
     "Due soon, 7 cards due: Oral presentation, AMED3003, 20%, Wed 10:00" NB
     "AM; Part 2 report, FINC3600, 30%, Thu 10:00" NB
     "AM. Classes, Week 10 of 13: FINC3600, Lecture, in 40 min; AMED3003, Tutorial, Tue 12:00" NB "PM"},
    {"DueSoonWithinHours", "DueSoon", WidgetFamily::systemMedium, sampleAt(kNow + 47 * kHour),
     "Due soon, 7 cards due: Oral presentation, AMED3003, 20%, in 1 h; Part 2 report, FINC3600, 30%, "
     "Thu 10:00" NB "AM"},
    {"DueSoonOverdue", "DueSoon", WidgetFamily::systemMedium, sampleAt(kNow + 49 * kHour),
     "Due soon, 7 cards due: Oral presentation, AMED3003, 20%, Overdue; Part 2 report, FINC3600, 30%, "
     "Thu 10:00" NB "AM"},
    {"NoteOff", "DueSoon", WidgetFamily::systemLarge, Entry{.date = kNow, .loaded = Loaded::off()},
     "Due soon: Widgets are off, Turn them on in Ostrel, Settings, General."},
    {"NoteMissing", "NextUp", WidgetFamily::systemSmall, Entry{.date = kNow, .loaded = Loaded::missing()},
     "Next up: Open Ostrel, Your classes and deadlines appear here after it syncs."},
    {"LineBreaksAndSpacesInFeedText", "NextUp", WidgetFamily::systemSmall,
     Entry{.date = kNow,
           .loaded = feedOf(std::vector{lesson("  FINC3600 ", "Lecture\nPart\t2", "\r\nRoom  1 \xC2\xB7",
                                               kNow + kHour, 1)},
                            std::nullopt)},
     "Next up: FINC3600, Lecture Part 2, in 1 h, Room 1"},
    {"EmptyTextsAreSkipped", "DueSoon", WidgetFamily::systemMedium,
     Entry{.date = kNow,
           .loaded = feedOf(std::nullopt, std::vector{deadline("", " ", kNow + kHour, std::nullopt)}, 0)},
     "Due soon: in 1 h"},
};

void PrintTo(const Row& r, std::ostream* os) {
  *os << r.name;
}

class Reading : public testing::TestWithParam<Row> {};

TEST_P(Reading, ReadsTheFaceInOrderOnOneLine) {
  const Row& r = GetParam();
  const Environment env = faceEnvironment(r.family, ColorScheme::dark);
  for (const WidgetConfiguration& w : OstrelWidgets{}.body()) {
    if (w.kind == r.kind) {
      EXPECT_EQ(reading(w.content(r.entry, env)), r.reading);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Faces, Reading, testing::ValuesIn(rows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Reading, AnEmptyTreeReadsAsNothing) {
  EXPECT_EQ(reading(Group({})), "");
  EXPECT_EQ(reading(HStack(VerticalAlignment::center, 4, {Circle(), Spacer(0), Divider()})), "");
}

}  // namespace
}  // namespace ostrel
