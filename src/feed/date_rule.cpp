#include "feed/date_rule.hpp"

#include <chrono>
#include <cstdint>

// The accepted form, character by character (indices into the text):
//
//   0123456789012345678
//   YYYY-MM-DDTHH:MM:SS            then optionally '.' and one or more digits,
//                                  then 'Z' or '+HH:MM' / '-HH:MM', then the end.
//
// Years run from 0000 to 9999 in the proleptic Gregorian calendar; months 01-12; days within the
// month (29 February only in leap years); hours 00-23; minutes and seconds 00-59 (no leap seconds);
// offsets up to 23:59 either way. The letters T and Z are upper case. Whole seconds are counted
// exactly in 64 bits; the fraction (up to 17 digits, the rest cannot change a double) is added once.

namespace ostrel {
namespace {

constexpr bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

/// The number written by `n` digits at `p`, or -1 if any is not a digit.
constexpr int digits(const char* p, int n) {
  int value = 0;
  for (int i = 0; i < n; ++i) {
    if (!isDigit(p[i])) return -1;
    value = value * 10 + (p[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<Date> parseDate(std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
  // The shortest form is YYYY-MM-DDTHH:MM:SSZ.
  if (n < 20) return std::nullopt;
  if (p[4] != '-' || p[7] != '-' || p[10] != 'T' || p[13] != ':' || p[16] != ':') return std::nullopt;
  // All fourteen digits at once: any byte outside '0'..'9' leaves a value above 9 in `bad`.
  const auto at = [p](int k) { return static_cast<unsigned>(static_cast<unsigned char>(p[k])) - '0'; };
  const unsigned d[14] = {at(0), at(1),  at(2),  at(3),  at(5),  at(6),  at(8),
                          at(9), at(11), at(12), at(14), at(15), at(17), at(18)};
  unsigned bad = 0;
  for (const unsigned x : d) bad |= x > 9 ? 1u : 0u;
  if (bad != 0) return std::nullopt;
  const int year = static_cast<int>(d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3]);
  const int month = static_cast<int>(d[4] * 10 + d[5]);
  const int day = static_cast<int>(d[6] * 10 + d[7]);
  const int hour = static_cast<int>(d[8] * 10 + d[9]);
  const int minute = static_cast<int>(d[10] * 10 + d[11]);
  const int second = static_cast<int>(d[12] * 10 + d[13]);
  const std::chrono::year_month_day civil{std::chrono::year{year},
                                          std::chrono::month{static_cast<unsigned>(month)},
                                          std::chrono::day{static_cast<unsigned>(day)}};
  if (!civil.ok()) return std::nullopt;
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;

  std::size_t i = 19;
  double fraction = 0;
  if (p[i] == '.') {
    ++i;
    const std::size_t first = i;
    std::uint64_t mantissa = 0;
    double scale = 1;
    while (i < n && isDigit(p[i])) {
      if (i - first < 17) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(p[i] - '0');
        scale *= 10;
      }
      ++i;
    }
    if (i == first) return std::nullopt;
    fraction = static_cast<double>(mantissa) / scale;
  }

  std::int64_t offset = 0;
  if (i < n && p[i] == 'Z') {
    ++i;
  } else if (i < n && (p[i] == '+' || p[i] == '-')) {
    if (n - i < 6 || p[i + 3] != ':') return std::nullopt;
    const int oh = digits(p + i + 1, 2);
    const int om = digits(p + i + 4, 2);
    if (oh < 0 || oh > 23 || om < 0 || om > 59) return std::nullopt;
    offset = (std::int64_t{oh} * 60 + om) * 60;
    if (p[i] == '-') offset = -offset;
    i += 6;
  } else {
    return std::nullopt;
  }
  if (i != n) return std::nullopt;

  const std::int64_t days = std::chrono::sys_days{civil}.time_since_epoch().count();
  const std::int64_t whole = days * 86400 + (std::int64_t{hour} * 60 + minute) * 60 + second - offset;
  return Date{static_cast<double>(whole) + fraction};
}

}  // namespace ostrel
