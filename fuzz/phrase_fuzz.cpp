// Countdown wording for arbitrary pairs of doubles (NaN, infinities, subnormals, the extremes):
// `Phrase::until` never fails and never leaves its wording table: "now" for any date not after now,
// "in ..." for fewer than 720 minutes, and otherwise a non-empty formatted weekday and time. Input:
// 8 bytes of the date, 8 bytes of now (as doubles), then one byte choosing locale and zone.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "components/phrase.hpp"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr const char* locales[] = {"en_US", "en_GB", "de_DE", "ar_EG", "ja_JP", "xx_YY"};
constexpr const char* zones[] = {"UTC", "Australia/Sydney", "America/New_York", "Pacific/Kiritimati",
                                 "Bogus/Zone"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 16) return 0;
  double date = 0, now = 0;
  std::memcpy(&date, data, 8);
  std::memcpy(&now, data + 8, 8);
  const unsigned choice = size > 16 ? data[16] : 0;
  const char* locale = locales[choice % std::size(locales)];
  const char* zone = zones[(choice / std::size(locales)) % std::size(zones)];

  const std::string words =
      ostrel::Phrase::until(ostrel::Date{date}, ostrel::Date{now}, locale, ostrel::TimeZone::named(zone));
  check(!words.empty());
  if (!(date > now)) check(words == "now");
  const auto countdown = ostrel::Phrase::countdown(ostrel::Date{date}, ostrel::Date{now});
  if (countdown) {
    check(*countdown == words);
    check(words == "now" || words.rfind("in ", 0) == 0);
  } else {
    check(date - now > 719 * 60.0);
  }
  return 0;
}
