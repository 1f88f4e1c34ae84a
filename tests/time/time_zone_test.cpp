// Zones against the system's own tools, whose zone handling (the C library's) this system does not
// use: every zone file at a set of instants, and `date` for every way TZ can name a zone; offsets,
// minute starts and formatted times must agree with what they print.
#include "time/time_zone.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch.hpp"
#include "time/calendar.hpp"
#include "time/date_format.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

/// The instant (seconds since 1970) of a UTC date and time.
std::int64_t utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return daysFromCivil(y, mo, d) * 86'400 + h * 3600 + mi * 60 + s;
}

/// What `date` shows for one instant: the local time's offset from UTC, its seconds field and its
/// weekday and clock time ("Mon 15:35").
struct Shown {
  std::int64_t offset = 0;
  int second = 0;
  std::string weekdayTime;
};

/// Reads `date` lines ("%Y %m %d %H %M %S %a") for the instants `at`, in turn, from `pipe`.
std::vector<Shown> readShown(FILE* pipe, const std::vector<std::int64_t>& at) {
  std::vector<Shown> out;
  char line[128];
  while (out.size() < at.size() && std::fgets(line, sizeof line, pipe) != nullptr) {
    long long y = 0;
    int mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char weekday[8] = {};
    if (std::sscanf(line, "%lld %d %d %d %d %d %7s", &y, &mo, &d, &h, &mi, &s, weekday) != 7) break;
    const std::int64_t local = daysFromCivil(y, mo, d) * 86'400 + h * 3600 + mi * 60 + s;
    char text[32];
    std::snprintf(text, sizeof text, "%s %02d:%02d", weekday, h, mi);
    out.push_back(Shown{.offset = local - at[out.size()], .second = s, .weekdayTime = text});
  }
  return out;
}

constexpr const char* kDateFormat = " LC_ALL=C date -f \"$instants\" '+%Y %m %d %H %M %S %a'";

/// What the C library shows at `at` (listed in the file `instants`) with TZ set to each of `zones`
/// in turn: its localtime and strftime, through perl's POSIX module (one process for every zone;
/// running `date` once per zone costs a process each).
std::vector<std::vector<Shown>> libcShows(const std::vector<std::string>& zones, const fs::path& instants,
                                          const fs::path& zoneList, const std::vector<std::int64_t>& at) {
  {
    std::ofstream list(zoneList);
    for (const std::string& z : zones) list << z << "\n";
  }
  const std::string command =
      "LC_ALL=C perl -MPOSIX -e 'open(my $f, \"<\", $ARGV[0]); my @t = map { chomp; substr($_, 1) } <$f>;"
      " open(my $z, \"<\", $ARGV[1]); while (my $zone = <$z>) { chomp $zone; $ENV{TZ} = $zone; tzset();"
      " print strftime(\"%Y %m %d %H %M %S %a\\n\", localtime($_)) for @t }' '" +
      instants.string() + "' '" + zoneList.string() + "'";
  std::vector<std::vector<Shown>> out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  for (std::size_t i = 0; i < zones.size(); ++i) out.push_back(readShown(pipe, at));
  ::pclose(pipe);
  return out;
}

/// What `date` shows at `at` with TZ set to `tz` (unset when absent).
std::vector<Shown> dateShows(const std::optional<std::string>& tz, const fs::path& instants,
                             const std::vector<std::int64_t>& at) {
  const std::string command = "instants='" + instants.string() + "'; " +
                              (tz ? "TZ='" + *tz + "'" : std::string("env -u TZ")) + kDateFormat;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::vector<Shown> out = readShown(pipe, at);
  ::pclose(pipe);
  return out;
}

class Zones : public test_support::ScratchTest {
 protected:
  /// Writes the instants as `date -f` reads them ("@seconds" lines).
  fs::path instantsFile(const std::vector<std::int64_t>& instants) {
    std::string text;
    for (std::int64_t t : instants) text += "@" + std::to_string(t) + "\n";
    return write("instants.txt", text);
  }
};

/// Instants that matter for zones: far past (before any transition), the years of many rule changes,
/// transitions of 2025 and 2026 in several hemispheres, the issue cases of 2026, and years past the
/// last transition written in the zone files (2037), where the files' rules take over.
std::vector<std::int64_t> probeInstants() {
  std::vector<std::int64_t> out = {utc(1850, 1, 1),
                                   utc(1901, 12, 13, 20, 45, 52),
                                   utc(1916, 5, 1),
                                   utc(1945, 8, 15),
                                   utc(1970, 1, 1),
                                   utc(1986, 7, 1, 3),
                                   utc(2000, 1, 1),
                                   utc(2011, 3, 27, 1, 59, 59),
                                   utc(2022, 10, 30),
                                   utc(2025, 3, 30, 1),
                                   utc(2025, 10, 26, 0, 59, 59),
                                   utc(2026, 1, 15, 12),
                                   utc(2026, 3, 8, 7),
                                   utc(2026, 3, 8, 6, 59, 59),
                                   utc(2026, 4, 4, 16),
                                   utc(2026, 6, 15, 17),
                                   utc(2026, 10, 3, 16),
                                   utc(2026, 11, 1, 6),
                                   utc(2030, 7, 1),
                                   utc(2037, 12, 31, 23, 59, 59),
                                   utc(2038, 7, 1),
                                   utc(2040, 3, 31, 23, 30),
                                   utc(2051, 10, 29, 1),
                                   utc(2075, 6, 1),
                                   utc(2100, 1, 1),
                                   utc(2100, 7, 1)};
  // And a spread of instants over two centuries, the same in every run.
  std::uint64_t x = 0x9e3779b97f4a7c15ULL;
  for (int i = 0; i < 40; ++i) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    out.push_back(utc(1900, 1, 1) + static_cast<std::int64_t>((x >> 11) % 6'311'433'600ULL));
  }
  return out;
}

/// Every zone file under /usr/share/zoneinfo but the copies under posix/ and the leap-second
/// variants under right/ (their clocks count leap seconds, this system's instants do not).
std::vector<std::string> zoneNames() {
  std::vector<std::string> names;
  const fs::path root = "/usr/share/zoneinfo";
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string rel = fs::relative(it->path(), root).string();
    if (rel == "posix" || rel == "right") {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    std::ifstream f(it->path(), std::ios::binary);
    char magic[4] = {};
    if (f.read(magic, 4) && std::string(magic, 4) == "TZif") names.push_back(rel);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(Zones, EveryZoneFileAgreesWithTheCLibrary) {
  const std::vector<std::string> names = zoneNames();
  ASSERT_GT(names.size(), 400u);
  const std::vector<std::int64_t> instants = probeInstants();
  const fs::path file = instantsFile(instants);
  const auto all = libcShows(names, file, dir_ / "zones.txt", instants);
  ASSERT_EQ(all.size(), names.size());
  int mismatches = 0;
  for (std::size_t z = 0; z < names.size(); ++z) {
    const std::string& name = names[z];
    const std::vector<Shown>& shown = all[z];
    ASSERT_EQ(shown.size(), instants.size()) << name;
    const TimeZone zone = TimeZone::named(name);
    for (std::size_t i = 0; i < instants.size() && mismatches < 20; ++i) {
      const std::int64_t t = instants[i];
      const bool offset = zone.offsetAt(t) == shown[i].offset;
      // The minute holding a quarter second after the instant began `second` seconds before it
      // (checked at every third instant: each check reads the zone afresh).
      const bool start = i % 3 != 0 || Calendar::minuteStart(Date{static_cast<double>(t) + 0.25}, name) ==
                                           Date{static_cast<double>(t - shown[i].second)};
      if (!offset || !start) {
        ++mismatches;
        ADD_FAILURE() << name << " at " << t << ": offset " << zone.offsetAt(t) << ", date shows "
                      << shown[i].offset;
      }
    }
    // The formatted times, in winter and summer 2026 (ICU names the fields, the zone data the time).
    for (std::size_t i : {11, 15}) {
      const std::string formatted =
          DateFormat::weekdayTime(Date{static_cast<double>(instants[i])}, "en_GB", name);
      if (formatted != shown[i].weekdayTime) {
        ++mismatches;
        ADD_FAILURE() << name << " at " << instants[i] << ": \"" << formatted << "\", date shows \""
                      << shown[i].weekdayTime << "\"";
      }
    }
  }
}

struct Form {
  std::optional<std::string> tz;  ///< TZ's value; absent: unset
  bool names;                     ///< whether it names a zone (`--tz` accepts it; not the empty value)
};

class TzForms : public Zones, public testing::WithParamInterface<Form> {};

TEST_P(TzForms, GiveTheLocalTimeTheDateCommandGives) {
  const Form& form = GetParam();
  std::vector<std::int64_t> instants;
  for (std::int64_t t = utc(2024, 1, 1, 0, 0, 30); t < utc(2029, 1, 1); t += 86'400 * 11 + 3'607) {
    instants.push_back(t);
  }
  const std::vector<Shown> shown = dateShows(form.tz, instantsFile(instants), instants);
  ASSERT_EQ(shown.size(), instants.size());
  const TimeZone zone = TimeZone::fromEnvironment(form.tz ? form.tz->c_str() : nullptr);
  const std::string name = form.tz ? *form.tz : Calendar::defaultTimeZone();
  for (std::size_t i = 0; i < instants.size(); ++i) {
    ASSERT_EQ(zone.offsetAt(instants[i]), shown[i].offset) << instants[i];
    const auto minute = Calendar::minuteStart(Date{static_cast<double>(instants[i]) + 0.5}, name);
    ASSERT_EQ(minute, Date{static_cast<double>(instants[i] - shown[i].second)}) << instants[i];
  }
  if (form.tz) {
    EXPECT_EQ(Calendar::isKnownTimeZone(*form.tz), form.names);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, TzForms,
    testing::Values(Form{"Asia/Kathmandu", true}, Form{":Asia/Kathmandu", true},
                    Form{"/usr/share/zoneinfo/Asia/Kathmandu", true},
                    Form{":/usr/share/zoneinfo/Europe/Paris", true}, Form{"/etc/localtime", true},
                    Form{std::nullopt, true}, Form{":", true}, Form{"AEST-10AEDT,M10.1.0,M4.1.0/3", true},
                    Form{"<+0545>-5:45", true}, Form{"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", true},
                    Form{"IST-2IDT,M3.4.4/26,M10.5.0", true}, Form{"EET-2EEST,M3.4.4/50,M10.4.4/50", true},
                    Form{"JST-9", true}, Form{"NZST-12NZDT-13,J270/2:45,J97/3:45", true},
                    Form{"XYZ3ABC,60/1,300/1:30:15", true}, Form{"AEST-10AEDT", true}, Form{"EST5EDT", true},
                    Form{"UTC0", true}, Form{"America/Ciudad_Juarez", true}, Form{"America/Coyhaique", true},
                    Form{"", false}, Form{"Mars/Base", false}, Form{"Not/AZone", false}, Form{"UTC+5", true},
                    Form{"EST5EDT,M3.2.0", true}, Form{"EST5EDT,M3.2.0,", true},
                    Form{"../../../etc/passwd", false}, Form{"XYZ-24:59:59ABC,M1.1.0,M12.5.0", true}));

TEST(TimeZone, TheClassThatEndsAtNoonInMexicoCityEndsAtEleven) {
  // Mexico left daylight time in 2022; 2026-06-15T17:00:00Z is 11:00 there.
  const Date end{static_cast<double>(utc(2026, 6, 15, 17))};
  EXPECT_EQ(DateFormat::time(end, "en_GB", "America/Mexico_City"), "11:00");
  EXPECT_EQ(TimeZone::named("America/Mexico_City").name(), "America/Mexico_City");
  EXPECT_EQ(TimeZone::named("/usr/share/zoneinfo/Asia/Kathmandu").name(), "Asia/Kathmandu");
  EXPECT_EQ(TimeZone::named("Mars/Base").name(), "UTC");
}

TEST(TimeZone, FilesThatAreNotZonesNameNothingAndNeverBlock) {
  // A FIFO would block a plain open; a device never ends; a folder and a text file are no zones.
  const fs::path fifo = fs::temp_directory_path() / "ostrel-tz-fifo";
  fs::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path :
       {fifo.string(), std::string("/dev/zero"), std::string("/usr/share/zoneinfo"),
        std::string("/usr/share/zoneinfo/zone.tab"), std::string("/etc/hostname")}) {
    EXPECT_FALSE(TimeZone::find(path)) << path;
    EXPECT_EQ(TimeZone::named(path).offsetAt(0), 0) << path;
  }
  fs::remove(fifo);
}

struct RuleRow {
  const char* text;
  std::optional<TzRule> rule;
};

TEST(TzRule, ReadsEveryPartOfTheRule) {
  using Kind = TzRule::Change::Kind;
  const TzRule::Change usStart{.kind = Kind::monthWeek, .day = 0, .month = 3, .week = 2};
  const TzRule::Change usEnd{.kind = Kind::monthWeek, .day = 0, .month = 11, .week = 1};
  const RuleRow rows[] = {
      {"JST-9", TzRule{.standardName = "JST", .standardOffset = 9 * 3600, .daylight = std::nullopt}},
      {"<+0545>-5:45", TzRule{.standardName = "+0545", .standardOffset = 20'700, .daylight = std::nullopt}},
      {"<-03>3", TzRule{.standardName = "-03", .standardOffset = -3 * 3600, .daylight = std::nullopt}},
      {"LMT+0:53:28", TzRule{.standardName = "LMT", .standardOffset = -3208, .daylight = std::nullopt}},
      {"EST5EDT", TzRule{.standardName = "EST",
                         .standardOffset = -5 * 3600,
                         .daylight = TzRule::Daylight{"EDT", -4 * 3600, usStart, usEnd}}},
      {"EST5EDT,", TzRule{.standardName = "EST",
                          .standardOffset = -5 * 3600,
                          .daylight = TzRule::Daylight{"EDT", -4 * 3600, usStart, usEnd}}},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3",
       TzRule{.standardName = "AEST",
              .standardOffset = 36'000,
              .daylight =
                  TzRule::Daylight{
                      "AEDT",
                      39'600,
                      {.kind = Kind::monthWeek, .day = 0, .month = 10, .week = 1},
                      {.kind = Kind::monthWeek, .day = 0, .month = 4, .week = 1, .time = 3 * 3600}}}},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0",
       TzRule{.standardName = "-02",
              .standardOffset = -7200,
              .daylight =
                  TzRule::Daylight{"-01",
                                   -3600,
                                   {.kind = Kind::monthWeek, .day = 0, .month = 3, .week = 5, .time = -3600},
                                   {.kind = Kind::monthWeek, .day = 0, .month = 10, .week = 5, .time = 0}}}},
      {"XYZ3ABC2,J60/167,300/-167:59:59",
       TzRule{.standardName = "XYZ",
              .standardOffset = -3 * 3600,
              .daylight =
                  TzRule::Daylight{"ABC",
                                   -2 * 3600,
                                   {.kind = Kind::julian, .day = 60, .time = 167 * 3600},
                                   {.kind = Kind::dayOfYear, .day = 300, .time = -(167 * 3600 + 3599)}}}},
      {"EST5EDT,M3.1.0",
       TzRule{.standardName = "EST",
              .standardOffset = -5 * 3600,
              .daylight =
                  TzRule::Daylight{
                      "EDT", -4 * 3600, {.kind = Kind::monthWeek, .day = 0, .month = 3, .week = 1}, usEnd}}},
      {"ABC25", TzRule{.standardName = "ABC", .standardOffset = -24 * 3600, .daylight = std::nullopt}},
      {"XYZ-24:59:59ABC,M1.1.0,M12.5.0",
       TzRule{.standardName = "XYZ",
              .standardOffset = 89'999,
              .daylight = TzRule::Daylight{"ABC",
                                           93'599,
                                           {.kind = Kind::monthWeek, .day = 0, .month = 1, .week = 1},
                                           {.kind = Kind::monthWeek, .day = 0, .month = 12, .week = 5}}}},
      {"", std::nullopt},
      {"EST", std::nullopt},
      {"ES5", std::nullopt},
      {"<AB>5", std::nullopt},
      {"<ABC5", std::nullopt},
      {"EST5EDT,M3.2.0M11.1.0", std::nullopt},
      {"EST5EDT,M13.1.0,M11.1.0", std::nullopt},
      {"EST5EDT,M3.6.0,M11.1.0", std::nullopt},
      {"EST5EDT,M3.2.7,M11.1.0", std::nullopt},
      {"EST5EDT,J0,J365", std::nullopt},
      {"EST5EDT,0,366", std::nullopt},
      {"EST5EDT,M3.2.0/168,M11.1.0", std::nullopt},
      {"EST5EDT,M3.2.0,M11.1.0x", std::nullopt},
      {"EST5:60", std::nullopt},
      {"Europe/Berlin", std::nullopt},
      {"EST 5", std::nullopt},
      {"EST5EDT4junk", std::nullopt},
  };
  for (const RuleRow& row : rows) EXPECT_EQ(TzRule::parse(row.text), row.rule) << row.text;
}

TEST(TzRule, DaylightTimeAcrossTheTurnOfTheYear) {
  const auto sydney = TzRule::parse("AEST-10AEDT,M10.1.0,M4.1.0/3");
  ASSERT_TRUE(sydney);
  struct Row {
    std::int64_t at;
    std::int32_t offset;
  };
  // Daylight time ends 2026-04-05 03:00 AEDT (16:00Z on the 4th) and starts 2026-10-04 02:00 AEST
  // (16:00Z on the 3rd).
  for (const Row& r : {Row{utc(2026, 1, 1), 39'600}, Row{utc(2026, 4, 4, 15, 59, 59), 39'600},
                       Row{utc(2026, 4, 4, 16), 36'000}, Row{utc(2026, 10, 3, 15, 59, 59), 36'000},
                       Row{utc(2026, 10, 3, 16), 39'600}, Row{utc(2026, 12, 31, 23, 59, 59), 39'600},
                       Row{utc(-4000, 7, 1), 36'000}, Row{utc(30000, 1, 1), 39'600}}) {
    EXPECT_EQ(sydney->offsetAt(r.at), r.offset) << r.at;
  }
}

}  // namespace
}  // namespace ostrel
