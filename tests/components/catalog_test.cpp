// The string table with a catalog installed: translated keys are used, everything else is shown
// as it stands.

#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include "components/code.hpp"
#include "components/heading.hpp"
#include "components/keys.hpp"
#include "components/note.hpp"
#include "components/phrase.hpp"
#include "components/when.hpp"

namespace ostrel {
namespace {

#ifdef OSTREL_TEST_LOCALE_DIR

/// Installs the test catalog (language "xx") for the suite and removes it afterwards.
class Catalog : public testing::Test {
 protected:
  void SetUp() override {
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("LANGUAGE", "xx", 1);
    ASSERT_TRUE(StringTable::setUp(std::string(OSTREL_TEST_LOCALE_DIR)));
  }
  void TearDown() override {
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    std::setlocale(LC_MESSAGES, "C");  // also drops gettext's cached translations
  }
  Environment env;
};

TEST_F(Catalog, TranslatedKeysAreShown) {
  EXPECT_EQ(StringTable::lookup(keys::overdue), "Überfällig");
  EXPECT_EQ(Text::localized(keys::ends, {std::string("10:50")}).text->shown, "endet 10:50");
  EXPECT_EQ(Text::localized(keys::weight, {std::int64_t{20}}).text->shown, "· 20 %");
  // A key without a translation is shown as written.
  EXPECT_EQ(Text::localized(keys::noClassThisWeek).text->shown, "No class this week");

  const View off = Note{.heading = "Next up", .loaded = Loaded::off()}.body(env);
  EXPECT_EQ(off.children[2].text->shown, "Widgets sind aus");
  EXPECT_EQ(off.children[3].text->shown, "Schalte sie in Ostrel ein.");
  EXPECT_EQ(off.children[2].text->key, "Widgets are off");
  const View missing = Note{.heading = "Next up", .loaded = Loaded::missing()}.body(env);
  EXPECT_EQ(missing.children[2].text->shown, "Öffne Ostrel");
}

TEST_F(Catalog, HeadingsCountdownsAndFeedTextAreNeverLookedUp) {
  const View note = Note{.heading = "Next up", .loaded = Loaded::off()}.body(env);
  EXPECT_EQ(note.children[0].children[0].children[1].text->shown, "NEXT UP");

  const Date now{1'772'445'600.0};
  EXPECT_EQ(Phrase::until(now, now, env), "now");
  EXPECT_EQ(Phrase::until(now + 90, now, env), "in 2 min");
  EXPECT_EQ(Phrase::until(now + 5400, now, env), "in 1 h 30 min");
  EXPECT_EQ((When{.date = now + 90, .now = now}).body(env).text->shown, "in 2 min");

  EXPECT_EQ((Code{.unit = "COMP2310", .color = std::nullopt}).body(env).text->shown, "COMP2310");
  EXPECT_EQ((Code{.unit = "%s%n", .color = std::nullopt}).body(env).text->shown, "%s%n");
  const View heading = Heading{.text = "<b>", .trailing = "Week 3"}.body(env);
  EXPECT_EQ(heading.children[1].text->shown, "<B>");
  EXPECT_EQ(heading.children[3].text->shown, "Week 3");
  EXPECT_EQ(Text::verbatim("%s%n").text->shown, "%s%n");
  EXPECT_EQ(Text::verbatim("<b>").text->shown, "<b>");
  // Even a translated format takes its arguments as they stand.
  EXPECT_EQ(Text::localized(keys::ends, {std::string("%s%n")}).text->shown, "endet %s%n");
}

#endif

}  // namespace
}  // namespace ostrel
