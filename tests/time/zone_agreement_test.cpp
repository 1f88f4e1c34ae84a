// Zones against the C library's own reading of TZ (tzset, localtime_r, strftime), which this system
// does not use: every zone file at the instants of tests/data/time/zone_instants.tsv, and every way
// TZ can name a zone (zone_forms.tsv); offsets, minute starts and formatted times must agree.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/rows.hpp"
#include "support/scratch.hpp"
#include "time/calendar.hpp"
#include "time/date_format.hpp"
#include "time/time_zone.hpp"

namespace ostrel {
namespace {

using Field = std::optional<std::string>;

/// What the C library shows at each instant with TZ set to `tz` (unset when absent): the offset
/// from UTC, the seconds field, and the weekday and clock time ("Mon 15:35").
std::vector<std::tm> libcShows(const Field& tz, const std::vector<std::int64_t>& instants) {
  const char* before = std::getenv("TZ");
  const Field saved = before != nullptr ? Field(before) : std::nullopt;
  tz ? ::setenv("TZ", tz->c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  std::vector<std::tm> out(instants.size());
  for (std::size_t i = 0; i < instants.size(); ++i) {
    const std::time_t at = instants[i];
    ::localtime_r(&at, &out[i]);
  }
  saved ? ::setenv("TZ", saved->c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  return out;
}

/// Checks the offsets and minute starts of `zone` against `shown`; fails the test past 20 faults.
void expectAgreement(const std::string& label, const TimeZone& zone,
                     const std::vector<std::int64_t>& instants, const std::vector<std::tm>& shown) {
  static int faults = 0;
  for (std::size_t i = 0; i < instants.size(); ++i) {
    const auto t = static_cast<double>(instants[i]);
    // The minute holding a quarter second after the instant began `tm_sec` seconds before it.
    const auto start = Calendar::minuteStart(Date{t + 0.25}, zone);
    if (zone.offsetAt(instants[i]) != shown[i].tm_gmtoff || start != Date{t - shown[i].tm_sec}) {
      ADD_FAILURE() << label << " at " << instants[i] << ": offset " << zone.offsetAt(instants[i])
                    << ", the C library's " << shown[i].tm_gmtoff;
      ASSERT_LT(++faults, 20);
    }
  }
}

TEST(ZoneAgreement, EveryZoneFile) {
  std::vector<std::int64_t> instants;
  std::vector<std::size_t> formatted;
  for (const auto& r : test_support::rowsWithAbsent("time/zone_instants.tsv")) {
    if (*r[1] == "yes") formatted.push_back(instants.size());
    instants.push_back(std::stoll(*r[0]));
  }
  // Every zone file but the copies under posix/ and the leap-second variants under right/ (their
  // clocks count leap seconds, this system's instants do not).
  const std::filesystem::path root = "/usr/share/zoneinfo";
  int zones = 0;
  for (auto it = std::filesystem::recursive_directory_iterator(root); it != decltype(it)(); ++it) {
    const std::string name = std::filesystem::relative(it->path(), root).string();
    if (name == "posix" || name == "right") it.disable_recursion_pending();
    char magic[5] = {};
    if (!it->is_regular_file() || !std::ifstream(it->path(), std::ios::binary).read(magic, 4)) continue;
    if (std::string(magic) != "TZif") continue;
    ++zones;
    const TimeZone zone = TimeZone::named(name);
    const std::vector<std::tm> shown = libcShows(name, instants);
    expectAgreement(name, zone, instants, shown);
    // ICU names the fields, the zone data decide the time.
    const auto formatter = DateFormatter::make("en_GB", zone);
    for (const std::size_t i : formatted) {
      char text[32] = {};
      std::strftime(text, sizeof text, "%a %H:%M", &shown[i]);
      EXPECT_EQ(formatter->weekdayTime(Date{static_cast<double>(instants[i])}), text) << name;
    }
  }
  EXPECT_GT(zones, 400);
}

class ZoneForms : public test_support::ScratchTest {};

TEST_F(ZoneForms, EveryWayTzNamesAZone) {
  std::vector<std::int64_t> instants;  // 2024 to 2028, every 11 days and an hour and 7 seconds
  for (std::int64_t t = 1'704'067'230; t < 1'861'920'000; t += 86'400 * 11 + 3'607) instants.push_back(t);
  for (const auto& r : test_support::rowsWithAbsent("time/zone_forms.tsv")) {
    const std::string label = r[0] ? "TZ=" + *r[0] : "TZ unset";
    const TimeZone zone = TimeZone::fromEnvironment(r[0] ? r[0]->c_str() : nullptr);
    expectAgreement(label, zone, instants, libcShows(r[0], instants));
    if (*r[2] != "*") {
      EXPECT_EQ(zone.name(), *r[2]) << label;
    }
    if (!r[0]) continue;
    EXPECT_EQ(TimeZone::isKnown(*r[0]), *r[1] == "yes") << label;
    // Named for `--tz`, a zone keeps the spelling it was given.
    EXPECT_EQ(TimeZone::named(*r[0]).name(), *r[1] == "yes" ? *r[0] : "UTC") << label;
  }
  // A FIFO would block a plain open (and the C library's).
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(TimeZone::isKnown((dir_ / "fifo").string()));
}

}  // namespace
}  // namespace ostrel
