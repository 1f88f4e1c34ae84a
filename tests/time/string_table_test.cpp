#include "time/string_table.hpp"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

using A = StringTable::Argument;

TEST(StringTable, UntranslatedKeysAreShownAsTheyStand) {
  EXPECT_EQ(StringTable::lookup("Overdue"), "Overdue");
  EXPECT_EQ(StringTable::lookup(""), "");  // never the catalog header
  EXPECT_EQ(StringTable::format("", {}), "");
}

TEST(StringTable, FillsOnlyItsOwnPlaceholders) {
  struct Case {
    const char* key;
    std::vector<A> args;
    const char* shown;
  };
  const Case table[] = {
      {"ends %@", {A{std::string("10:50")}}, "ends 10:50"},
      {"· %lld%%", {A{std::int64_t{20}}}, "· 20%"},
      {"· %lld%%", {A{std::int64_t{-9'223'372'036'854'775'807 - 1}}}, "· -9223372036854775808%"},
      {"%@ and %@", {A{std::string("a")}, A{std::string("b")}}, "a and b"},
      {"%@ and %@", {A{std::string("a")}}, "a and "},
      {"%@", {A{std::string("a")}, A{std::string("b")}}, "a"},
      // Nothing else is a format: printf conversions and markup stay as written.
      {"%s%n%d %x <b>", {A{std::string("a")}}, "%s%n%d %x <b>"},
      {"100%", {}, "100%"},
      {"%%@", {A{std::string("a")}}, "%@"},
      {"%ll", {A{std::int64_t{1}}}, "%ll"},
  };
  for (const auto& [key, args, shown] : table) EXPECT_EQ(StringTable::format(key, args), shown) << key;
}

TEST(StringTable, ArgumentsAreNeverReadAsFormats) {
  EXPECT_EQ(StringTable::format("ends %@", {A{std::string("%@%lld%%s%n")}}), "ends %@%lld%%s%n");
}

}  // namespace
}  // namespace ostrel
