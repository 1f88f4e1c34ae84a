#include "time/locale_name.hpp"

#include <gtest/gtest.h>

#include "time/date_format.hpp"

namespace ostrel {
namespace {

struct NameRow {
  const char* name;
  bool known;
};

class Locales : public testing::TestWithParam<NameRow> {};

TEST_P(Locales, KnownAreThoseWithICUData) {
  EXPECT_EQ(LocaleName::isKnown(GetParam().name), GetParam().known) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, Locales,
                         testing::Values(NameRow{"en_AU", true}, NameRow{"en-AU", true},
                                         NameRow{"de_DE", true}, NameRow{"fr", true},
                                         NameRow{"zh_Hans_CN", true}, NameRow{"es_419", true},
                                         NameRow{"", false}, NameRow{"klingon", false},
                                         NameRow{"en_XX", false}, NameRow{"en_AU.UTF-8", false},
                                         NameRow{"x y", false}, NameRow{"../../etc", false}));

TEST(LocaleName, DefaultFollowsTheEnvironment) {
  struct Row {
    const char* lcAll;
    const char* lcTime;
    const char* lang;
    const char* expected;
  };
  for (const Row& r :
       {Row{nullptr, nullptr, "de_DE.UTF-8", "de_DE"}, Row{"fr_FR@euro", "en_AU", "de_DE", "fr_FR"},
        Row{"", "en_AU", "de_DE", "en_AU"}, Row{"C", nullptr, "de_DE", "en_US"},
        Row{nullptr, nullptr, "POSIX", "en_US"}, Row{nullptr, nullptr, "zz_ZZ", "en_US"},
        Row{nullptr, nullptr, nullptr, "en_US"},
        // Modifiers, as the C library's locales read them.
        Row{nullptr, "sr_RS.UTF-8@latin", "en_AU", "sr_Latn_RS"},
        Row{nullptr, nullptr, "sr_RS@latin", "sr_Latn_RS"}, Row{nullptr, nullptr, "sr_RS.UTF-8", "sr_RS"},
        Row{"uz_UZ.UTF-8@cyrillic", nullptr, nullptr, "uz_Cyrl_UZ"},
        Row{nullptr, "sd_IN@devanagari", nullptr, "sd_Deva_IN"},
        Row{nullptr, "ca_ES.UTF-8@valencia", nullptr, "ca_ES_VALENCIA"},
        Row{nullptr, "de_DE.ISO-8859-15@euro", nullptr, "de_DE"}, Row{nullptr, "C.UTF-8", "de_DE", "en_US"},
        Row{nullptr, "sr@latin", nullptr, "sr_Latn"}}) {
    EXPECT_EQ(LocaleName::from(r.lcAll, r.lcTime, r.lang), r.expected) << r.expected;
  }
}

TEST(LocaleName, TheLatinModifierFormatsInLatinScript) {
  // Monday 2026-03-02: "pon" in Latin Serbian, "пон" in Cyrillic.
  const Date monday{1'772'445'600.0};
  const std::string latin =
      DateFormat::weekdayTime(monday, LocaleName::from(nullptr, "sr_RS.UTF-8@latin", nullptr), "UTC");
  const std::string cyrillic =
      DateFormat::weekdayTime(monday, LocaleName::from(nullptr, "sr_RS.UTF-8", nullptr), "UTC");
  EXPECT_EQ(latin, DateFormat::weekdayTime(monday, "sr_Latn_RS", "UTC"));
  EXPECT_EQ(latin.rfind("pon", 0), 0u) << latin;
  EXPECT_EQ(cyrillic.rfind("пон", 0), 0u) << cyrillic;
}

}  // namespace
}  // namespace ostrel
