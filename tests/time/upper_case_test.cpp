#include "time/upper_case.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(UpperCase, FullCaseMappingByTheRootRules) {
  struct Row {
    const char* in;
    const char* out;
  };
  const Row rows[] = {
      {"Next up", "NEXT UP"},
      {"ON NOW", "ON NOW"},
      {"Week 10: 3/13!", "WEEK 10: 3/13!"},
      {"straße", "STRASSE"},
      {"istanbul", "ISTANBUL"},
      {"éclair ǆ", "ÉCLAIR Ǆ"},
      {"\xEF\xAC\x81nal", "FINAL"},
      {"", ""},
      {"%s%n <b>", "%S%N <B>"},
      {"bad \xFF", "BAD \xEF\xBF\xBD"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(upperCased(in), out) << in;
}

}  // namespace
}  // namespace ostrel
