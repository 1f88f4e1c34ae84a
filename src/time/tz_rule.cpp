#include "time/tz_rule.hpp"

#include <algorithm>

namespace ostrel {
namespace {

constexpr std::int32_t kHour = 3600;

/// Reads TZ text left to right; every reader leaves the position unchanged when it fails.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  [[nodiscard]] bool atEnd() const { return at_ == text_.size(); }
  [[nodiscard]] char peek() const { return atEnd() ? '\0' : text_[at_]; }
  bool take(char c) {
    if (peek() != c) return false;
    ++at_;
    return true;
  }

  /// A zone abbreviation: three or more letters, or three or more letters, digits, '+' and '-'
  /// between angle brackets.
  std::optional<std::string> name() {
    const std::size_t start = at_;
    std::size_t end = start;
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    while (end < text_.size() && letter(text_[end])) ++end;
    if (end - start >= 3) {
      at_ = end;
      return std::string(text_.substr(start, end - start));
    }
    if (peek() != '<') return std::nullopt;
    end = start + 1;
    auto quotedChar = [&](char c) { return letter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-'; };
    while (end < text_.size() && quotedChar(text_[end])) ++end;
    if (end >= text_.size() || text_[end] != '>' || end - start - 1 < 3) return std::nullopt;
    at_ = end + 1;
    return std::string(text_.substr(start + 1, end - start - 1));
  }

  /// A decimal number of one to `digits` digits.
  std::optional<int> number(int digits) {
    int value = 0;
    int count = 0;
    while (count < digits && !atEnd() && peek() >= '0' && peek() <= '9') {
      value = value * 10 + (peek() - '0');
      ++at_;
      ++count;
    }
    if (count == 0) return std::nullopt;
    return value;
  }

  /// "hh[:mm[:ss]]" with an optional sign, as seconds (the sign applied); hours up to `maxHours`,
  /// read as at most `clampHours`.
  std::optional<std::int32_t> signedTime(int maxHours, int clampHours) {
    const std::size_t start = at_;
    const bool negative = take('-');
    if (!negative) take('+');
    const auto hours = number(3);
    if (!hours || *hours > maxHours) {
      at_ = start;
      return std::nullopt;
    }
    std::int32_t seconds = std::min(*hours, clampHours) * kHour;
    for (const std::int32_t unit : {60, 1}) {
      if (!take(':')) break;
      const auto part = number(2);
      if (!part || *part > 59) {
        at_ = start;
        return std::nullopt;
      }
      seconds += *part * unit;
    }
    return negative ? -seconds : seconds;
  }

  /// "Jn", "n" or "Mm.w.d", optionally followed by "/time".
  std::optional<TzRule::Change> change() {
    const std::size_t start = at_;
    TzRule::Change c;
    bool ok = false;
    if (take('J')) {
      const auto n = number(3);
      ok = n && *n >= 1 && *n <= 365;
      c = TzRule::Change{.kind = TzRule::Change::Kind::julian, .day = n.value_or(0)};
    } else if (take('M')) {
      const auto m = number(2);
      const auto w = take('.') ? number(1) : std::nullopt;
      const auto d = take('.') ? number(1) : std::nullopt;
      ok = m && w && d && *m >= 1 && *m <= 12 && *w >= 1 && *w <= 5 && *d <= 6;
      c = TzRule::Change{.kind = TzRule::Change::Kind::monthWeek,
                         .day = d.value_or(0),
                         .month = m.value_or(0),
                         .week = w.value_or(0)};
    } else {
      const auto n = number(3);
      ok = n && *n <= 365;
      c = TzRule::Change{.kind = TzRule::Change::Kind::dayOfYear, .day = n.value_or(0)};
    }
    if (ok && take('/')) {
      const auto time = signedTime(167, 167);
      ok = time.has_value();
      c.time = time.value_or(0);
    }
    if (!ok) {
      at_ = start;
      return std::nullopt;
    }
    return c;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

/// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

/// The proleptic Gregorian year holding the day `days` from 1970-01-01.
std::int64_t yearOfDay(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  return yoe + era * 400 + (mp >= 10 ? 1 : 0);
}

bool isLeap(std::int64_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int monthLength(std::int64_t y, int m) {
  constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : lengths[m - 1];
}

/// The day (from 1970-01-01) on which `c` falls in year `y`.
std::int64_t dayOf(const TzRule::Change& c, std::int64_t y) {
  switch (c.kind) {
    case TzRule::Change::Kind::julian:
      return daysFromCivil(y, 1, 1) + c.day - 1 + (c.day >= 60 && isLeap(y) ? 1 : 0);
    case TzRule::Change::Kind::dayOfYear:
      return daysFromCivil(y, 1, 1) + c.day;
    case TzRule::Change::Kind::monthWeek:
      break;
  }
  const std::int64_t first = daysFromCivil(y, c.month, 1);
  const auto firstWeekday = static_cast<int>(((first + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  int dayOfMonth = (c.day - firstWeekday + 7) % 7;
  for (int week = 1; week < c.week && dayOfMonth + 7 < monthLength(y, c.month); ++week) dayOfMonth += 7;
  return first + dayOfMonth;
}

/// The instant (UTC seconds) at which `c` happens in year `y`, for a clock `offset` seconds east.
std::int64_t instantOf(const TzRule::Change& c, std::int64_t y, std::int32_t offset) {
  return dayOf(c, y) * 86'400 + c.time - offset;
}

}  // namespace

std::optional<TzRule> TzRule::parse(std::string_view text) {
  Reader r(text);
  TzRule rule;
  auto standard = r.name();
  // Offsets with more than 24 hours are read as 24 hours, as the C library reads them.
  const auto offset = standard ? r.signedTime(999, 24) : std::nullopt;
  if (!offset) return std::nullopt;
  rule.standardName = std::move(*standard);
  rule.standardOffset = -*offset;
  if (r.atEnd()) return rule;

  auto name = r.name();
  if (!name) return std::nullopt;
  Daylight daylight{.name = std::move(*name), .offset = rule.standardOffset + kHour, .start = {}, .end = {}};
  if (r.peek() != ',' && !r.atEnd()) {
    const auto own = r.signedTime(999, 24);
    if (!own) return std::nullopt;
    daylight.offset = -*own;
  }
  // A missing rule is the United States' since 2007, as in the C library.
  r.take(',');
  const auto start =
      r.atEnd() ? Change{.kind = Change::Kind::monthWeek, .day = 0, .month = 3, .week = 2} : r.change();
  if (!r.atEnd() && !r.take(',')) return std::nullopt;
  const auto end =
      r.atEnd() ? Change{.kind = Change::Kind::monthWeek, .day = 0, .month = 11, .week = 1} : r.change();
  if (!start || !end || !r.atEnd()) return std::nullopt;
  daylight.start = *start;
  daylight.end = *end;
  rule.daylight = std::move(daylight);
  return rule;
}

std::int32_t TzRule::offsetAt(std::int64_t utcSeconds) const {
  if (!daylight) return standardOffset;
  const std::int64_t days = (utcSeconds >= 0 ? utcSeconds : utcSeconds - 86'399) / 86'400;
  const std::int64_t year = yearOfDay(days);
  const std::int64_t start = instantOf(daylight->start, year, standardOffset);
  const std::int64_t end = instantOf(daylight->end, year, daylight->offset);
  const bool inDaylight =
      start > end ? (utcSeconds < end || utcSeconds >= start) : (utcSeconds >= start && utcSeconds < end);
  return inDaylight ? daylight->offset : standardOffset;
}

}  // namespace ostrel
