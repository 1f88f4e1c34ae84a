#include "platform/locale_name.hpp"

#include <gtest/gtest.h>

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
  for (const Row& r : {Row{nullptr, nullptr, "de_DE.UTF-8", "de_DE"},
                       Row{"fr_FR@euro", "en_AU", "de_DE", "fr_FR"}, Row{"", "en_AU", "de_DE", "en_AU"},
                       Row{"C", nullptr, "de_DE", "en_US"}, Row{nullptr, nullptr, "POSIX", "en_US"},
                       Row{nullptr, nullptr, "zz_ZZ", "en_US"}, Row{nullptr, nullptr, nullptr, "en_US"}}) {
    EXPECT_EQ(LocaleName::from(r.lcAll, r.lcTime, r.lang), r.expected) << r.expected;
  }
}

}  // namespace
}  // namespace ostrel
