// The time layer's tables, read from tests/data/time/: ISO forms, date formatting, the calendar
// minute, locale names, upper-casing, the string table and POSIX zone rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "support/rows.hpp"
#include "time/calendar.hpp"
#include "time/date_format.hpp"
#include "time/iso_utc.hpp"
#include "time/iso_zoned.hpp"
#include "time/locale_name.hpp"
#include "time/string_table.hpp"
#include "time/tz_rule.hpp"
#include "time/upper_case.hpp"

namespace ostrel {
namespace {

using Field = std::optional<std::string>;
constexpr auto rows = test_support::rowsWithAbsent;

Date at(const Field& seconds) {
  return Date{std::strtod(seconds->c_str(), nullptr)};
}

const char* orNull(const Field& f) {
  return f ? f->c_str() : nullptr;
}

TEST(TimeTables, IsoForms) {
  for (const auto& r : rows("time/iso.tsv")) {
    const std::string text = *r[1] == "Z" ? isoUtc(at(r[0])) : isoZoned(at(r[0]), TimeZone::named(*r[1]));
    EXPECT_EQ(text, *r[2]) << *r[0] << " " << *r[1];
  }
}

TEST(TimeTables, DatesFormatInTheLocaleAndZone) {
  // One formatter per locale and zone, shared by its rows: it must follow the zone's transitions.
  std::map<std::pair<std::string, std::string>, std::shared_ptr<const DateFormatter>> formatters;
  for (const auto& r : rows("time/dates.tsv")) {
    auto& f = formatters[{*r[0], *r[1]}];
    if (!f) f = DateFormatter::make(*r[0], TimeZone::named(*r[1]));
    EXPECT_EQ(f->weekdayTime(at(r[2])), *r[3]) << *r[0] << " " << *r[1] << " " << *r[2];
    EXPECT_EQ(f->time(at(r[2])), *r[4]) << *r[0] << " " << *r[1] << " " << *r[2];
  }
}

TEST(TimeTables, MinuteStart) {
  for (const auto& r : rows("time/minutes.tsv")) {
    const auto start = Calendar::minuteStart(at(r[1]), TimeZone::named(*r[0]));
    EXPECT_EQ(start, r[2] ? std::optional(at(r[2])) : std::nullopt) << *r[0] << " " << *r[1];
  }
}

TEST(TimeTables, LocaleNames) {
  for (const auto& r : rows("time/locale_names.tsv"))
    EXPECT_EQ(LocaleName::isKnown(*r[0]), *r[1] == "yes") << *r[0];
  for (const auto& r : rows("time/locale_environment.tsv")) {
    EXPECT_EQ(LocaleName::from(orNull(r[0]), orNull(r[1]), orNull(r[2])), *r[3]) << *r[3];
  }
}

TEST(TimeTables, UpperCase) {
  for (const auto& r : rows("time/upper_case.tsv")) EXPECT_EQ(upperCased(*r[0]), *r[1]) << *r[0];
}

TEST(TimeTables, StringTableFillsOnlyItsOwnPlaceholders) {
  for (const auto& r : rows("time/string_table.tsv")) {
    std::vector<StringTable::Argument> args;
    for (std::size_t from = 0; from < r[1]->size();) {
      const std::size_t to = std::min(r[1]->find('|', from), r[1]->size());
      const std::string arg = r[1]->substr(from + 2, to - from - 2);
      if ((*r[1])[from] == 's') args.emplace_back(arg);
      if ((*r[1])[from] == 'i') args.emplace_back(std::int64_t{std::stoll(arg)});
      from = to + 1;
    }
    EXPECT_EQ(StringTable::format(*r[0], args), *r[2]) << *r[0];
  }
}

TEST(TimeTables, TzRules) {
  for (const auto& r : rows("time/tz_rules.tsv")) {
    const auto rule = TzRule::parse(*r[0]);
    ASSERT_EQ(rule.has_value(), r[2].has_value()) << *r[0];
    if (rule) {
      EXPECT_EQ(rule->offsetAt(std::stoll(*r[1])), std::stoi(*r[2])) << *r[0] << " at " << *r[1];
    }
  }
}

}  // namespace
}  // namespace ostrel
