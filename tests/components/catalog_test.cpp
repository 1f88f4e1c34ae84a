// The string table with a catalog installed: translated keys are used, everything else is shown
// as it stands.

#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include "components/code.hpp"
#include "components/keys.hpp"
#include "components/note.hpp"
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

TEST_F(Catalog, TranslatedKeysAreShownAndEverythingElseAsItStands) {
  EXPECT_EQ(Text::localized(keys::ends, {std::string("%s%n")}).text()->shown, "endet %s%n");
  EXPECT_EQ(Text::localized(keys::weight, {std::int64_t{20}}).text()->shown, "· 20 %");
  EXPECT_EQ(Text::localized(keys::noClassThisWeek).text()->shown, "No class this week");  // untranslated
  const View off = Note{.heading = "Next up", .loaded = Loaded::off()}.body(env);
  EXPECT_EQ(off.children[2].text()->shown, "Widgets sind aus");
  EXPECT_EQ(off.children[0].children[0].children[1].text()->shown, "NEXT UP");  // a heading is no key
  const Date now{1'772'445'600.0};
  EXPECT_EQ((When{.date = now + 5400, .now = now}).body(env).text()->shown, "in 1 h 30 min");
  EXPECT_EQ((Code{.unit = "%s%n", .color = std::nullopt}).body(env).text()->shown, "%s%n");
}

#endif

}  // namespace
}  // namespace ostrel
