// What the gallery's picker sheet shows: each widget's display name and description from its
// declaration, its families in order, light then dark, over the preview snapshot (the sample
// standing in when there is no usable feed).
#include <gtest/gtest.h>

#include <fstream>

#include "draw/render_commands.hpp"
#include "feed/date_rule.hpp"
#include "support/scratch.hpp"
#include "widgets/widgets.hpp"

namespace ostrel::draw {
using cli::CommonSettings;
namespace {

class Gallery : public test_support::ScratchTest {
 protected:
  [[nodiscard]] CommonSettings settings(const std::filesystem::path& feed) const {
    return CommonSettings{.services = Services{.clock = Clock::fixed(kNow), .feed = feed, .timeZone = "UTC"},
                          .locale = "en_US",
                          .json = false};
  }
  const Date kNow = parseDate("2026-03-02T09:30:00Z").value_or(Date{});
};

TEST_F(Gallery, SectionsNameAndDescribeEachWidgetWithItsFamiliesLightThenDark) {
  const CommonSettings s = settings(dir_ / "absent.json");
  const auto sections = pickerSections(OstrelWidgets{}.body(), previewEntry(s, "", false), s, 14);
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].displayName, "Next up");
  EXPECT_EQ(sections[0].description, "Your next class, counting down, with its room.");
  EXPECT_EQ(sections[1].displayName, "Due soon");
  EXPECT_EQ(sections[1].description, "What is due in the next three weeks, and the cards due today.");
  const std::vector<std::pair<WidgetFamily, ColorScheme>> expected[] = {
      {{WidgetFamily::systemSmall, ColorScheme::light},
       {WidgetFamily::systemSmall, ColorScheme::dark},
       {WidgetFamily::systemMedium, ColorScheme::light},
       {WidgetFamily::systemMedium, ColorScheme::dark}},
      {{WidgetFamily::systemMedium, ColorScheme::light},
       {WidgetFamily::systemMedium, ColorScheme::dark},
       {WidgetFamily::systemLarge, ColorScheme::light},
       {WidgetFamily::systemLarge, ColorScheme::dark}}};
  for (std::size_t i = 0; i < 2; ++i) {
    ASSERT_EQ(sections[i].faces.size(), expected[i].size());
    for (std::size_t j = 0; j < expected[i].size(); ++j) {
      EXPECT_EQ(sections[i].faces[j].family, expected[i][j].first);
      EXPECT_EQ(sections[i].faces[j].scheme, expected[i][j].second);
    }
  }
}

TEST_F(Gallery, PreviewsShowTheSnapshotWithTheSampleStandingInForAMissingFeed) {
  std::ofstream(dir_ / "off.json") << R"({"v":1,"enabled":false,"at":"2026-03-02T09:00:00Z"})";
  std::ofstream(dir_ / "broken.json") << R"({"v":1,)";
  struct Row {
    const char* feed;
    bool sample;
    const char* at;
    Loaded::Case loaded;
  };
  for (const Row& r :
       {Row{"absent.json", false, "", Loaded::Case::feed}, Row{"broken.json", false, "", Loaded::Case::feed},
        Row{"off.json", false, "", Loaded::Case::off}, Row{"off.json", true, "", Loaded::Case::feed},
        Row{"off.json", false, "2026-03-04T12:00:00Z", Loaded::Case::off}}) {
    const Entry e = previewEntry(settings(dir_ / r.feed), r.at, r.sample);
    EXPECT_EQ(e.loaded.which(), r.loaded) << r.feed;
    EXPECT_EQ(e.date, *r.at != '\0' ? parseDate(r.at).value_or(Date{}) : kNow) << r.feed;
  }
}

}  // namespace
}  // namespace ostrel::draw
