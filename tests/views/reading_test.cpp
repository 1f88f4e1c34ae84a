// The faces read aloud (tests/data/face-readings.tsv): every kind and family over the sample feed at
// a few instants, the notes, and feed text with line breaks, spaces and nothing in it.

#include "ui/reading.hpp"

#include <gtest/gtest.h>

#include "faces.hpp"
#include "support/rows.hpp"

namespace ostrel {
namespace {

using namespace testing_faces;

TEST(Reading, ReadsEachFaceInOrderOnOneLine) {
  const auto rows = test_support::rows("face-readings.tsv");
  ASSERT_EQ(rows.size(), 12u);
  for (const auto& row : rows) {
    const WidgetFamily family = row[2] == "systemSmall"    ? WidgetFamily::systemSmall
                                : row[2] == "systemMedium" ? WidgetFamily::systemMedium
                                                           : WidgetFamily::systemLarge;
    const View face = faceOf(row[1], situation(row[3], row[4]), faceEnvironment(family, ColorScheme::dark));
    EXPECT_EQ(reading(face), row[5]) << row[0];
  }
  EXPECT_EQ(reading(HStack(VerticalAlignment::center, 4, {Circle(), Spacer(0), Divider(), Group({})})), "");
}

}  // namespace
}  // namespace ostrel
