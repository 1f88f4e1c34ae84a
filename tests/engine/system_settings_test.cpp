// How the system's zone and locale are read from what the system writes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/system_locale.hpp"
#include "engine/system_zone.hpp"

namespace ostrel {
namespace {

TEST(SystemZone, FromTheLocaltimeLink) {
  struct Row {
    const char* target;
    std::optional<std::string> zone;
  };
  const Row rows[] = {
      {"/usr/share/zoneinfo/Europe/Berlin", "Europe/Berlin"},
      {"../usr/share/zoneinfo/Australia/Sydney", "Australia/Sydney"},
      {"/usr/share/zoneinfo/posix/America/New_York", "America/New_York"},
      {"/usr/share/zoneinfo/right/Asia/Tokyo", "Asia/Tokyo"},
      {"/usr/share/zoneinfo/Etc/UTC", "Etc/UTC"},
      {"/usr/share/zoneinfo/UTC", "UTC"},
      {"/var/db/timezone/zoneinfo/Europe/Paris", "Europe/Paris"},
      {"/usr/share/zoneinfo/Mars/Olympus", std::nullopt},  // not a zone
      {"/usr/share/zoneinfo/", std::nullopt},
      {"/etc/localtime.real", std::nullopt},  // a copy, not a link into the database
      {"", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(SystemZone::fromLink(r.target), r.zone) << r.target;
}

TEST(SystemZone, FromTheTimezoneFile) {
  struct Row {
    const char* text;
    std::optional<std::string> zone;
  };
  const Row rows[] = {
      {"Europe/Berlin\n", "Europe/Berlin"},
      {"  Australia/Sydney \r\nignored\n", "Australia/Sydney"},
      {"Etc/UTC", "Etc/UTC"},
      {"", std::nullopt},
      {"\nEurope/Berlin\n", std::nullopt},  // only the first line counts
      {"Europe/Nowhere\n", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(SystemZone::fromText(r.text), r.zone) << r.text;
}

TEST(SystemLocale, AssignmentsOfAShellStyleFile) {
  EXPECT_EQ(
      SystemLocale::assignments("# written by the installer\n"
                                "LANG=\"de_DE.UTF-8\"\n"
                                "\n"
                                "  export LC_TIME='en_AU.UTF-8'  \n"
                                "LANGUAGE=de:en\r\n"
                                "not an assignment\n"
                                "=empty name\n"
                                "1X=digit first\n"
                                "LC_ALL="),
      (std::vector<std::string>{"LANG=de_DE.UTF-8", "LC_TIME=en_AU.UTF-8", "LANGUAGE=de:en", "LC_ALL="}));
  EXPECT_TRUE(SystemLocale::assignments("").empty());
}

TEST(SystemLocale, TheEnvironmentWinsAndTheSystemIsFollowedOnlyWhereItSetsNothing) {
  struct Row {
    std::vector<std::string> assignments;
    LocaleEnvironment environment;
    std::string locale;
  };
  const Row rows[] = {
      {{"LANG=de_DE.UTF-8"}, {}, "de_DE"},
      {{"LANG=de_DE.UTF-8", "LC_TIME=en_AU.UTF-8"}, {}, "en_AU"},
      {{"LANG=de_DE.UTF-8", "LC_TIME=en_AU.UTF-8", "LC_ALL=fr_FR.UTF-8"}, {}, "fr_FR"},
      {{"LANG=en_GB.UTF-8", "LANG=ja_JP.UTF-8"}, {}, "ja_JP"},
      {{"LANG=C.UTF-8"}, {}, "en_US"},
      {{"LANG=klingon"}, {}, "en_US"},
      {{}, {}, "en_US"},
      // The session's own choice, whatever the system's file says.
      {{"LANG=C.UTF-8"}, {.lang = "de_DE.UTF-8"}, "de_DE"},
      {{"LC_TIME=en_AU.UTF-8"}, {.lang = "de_DE.UTF-8"}, "de_DE"},
      {{"LANG=de_DE.UTF-8"}, {.lcTime = "fr_FR.UTF-8", .lang = "en_GB.UTF-8"}, "fr_FR"},
      {{"LANG=de_DE.UTF-8"}, {.lcAll = "ja_JP.UTF-8", .lcTime = "fr_FR.UTF-8"}, "ja_JP"},
      {{"LANG=de_DE.UTF-8"}, {.lang = "C"}, "en_US"},
      {{"LANG=de_DE.UTF-8"}, {.lcAll = "", .lcTime = "", .lang = ""}, "de_DE"},  // empty is unset
  };
  for (const Row& r : rows) {
    EXPECT_EQ(SystemLocale::from(r.assignments, r.environment), r.locale)
        << (r.assignments.empty() ? "" : r.assignments[0]) << " / "
        << (r.environment.lang != nullptr ? r.environment.lang : "-");
  }
}

}  // namespace
}  // namespace ostrel
