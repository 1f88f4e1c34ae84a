// Text in, as TZ or a zone file's last line: reading a POSIX rule never fails; an accepted rule
// reads the same twice, and its offsets, at instants across the years, are its standard or its
// daylight offset, never beyond 25:59:59 (hours past 24 read as 24, as the C library reads them, and
// a daylight offset one hour past its standard one). Naming a zone with the same text never fails
// either (it may read a zone file) and yields an offset within the same bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "time/time_zone.hpp"
#include "time/tz_rule.hpp"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::int32_t kWidestOffset = 25 * 3600 + 59 * 60 + 59;

constexpr std::int64_t kInstants[] = {-62'135'596'800, -1, 0, 1'772'445'600, 1'781'542'800, 4'102'444'800,
                                      253'402'300'799};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text{reinterpret_cast<const char*>(data), size};
  const auto rule = ostrel::TzRule::parse(text);
  check(rule == ostrel::TzRule::parse(text));
  if (rule) {
    for (const std::int64_t t : kInstants) {
      const std::int32_t offset = rule->offsetAt(t);
      check(offset == rule->standardOffset || (rule->daylight && offset == rule->daylight->offset));
      check(offset >= -kWidestOffset && offset <= kWidestOffset);
    }
  }
  const ostrel::TimeZone zone = ostrel::TimeZone::named(text);
  for (const std::int64_t t : kInstants) {
    const std::int32_t offset = zone.offsetAt(t);
    check(offset >= -kWidestOffset && offset <= kWidestOffset);
  }
  return 0;
}
