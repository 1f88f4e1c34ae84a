#pragma once
/// \file date_rule.hpp
/// The feed's date rule: an internet date-time (RFC 3339) with a fraction of the second, or failing
/// that without one: `YYYY-MM-DDTHH:MM:SS[.f+](Z|±HH:MM)`. The offset is applied. Anything else,
/// including calendar-invalid dates (month 13, 30 February, hour 24), yields nothing.
///
///     parseDate("2026-03-02T10:00:00.000Z") == parseDate("2026-03-02T20:00:00+10:00")

#include <optional>
#include <string_view>

#include "time/date.hpp"

namespace ostrel {

/// The instant written in `text`, or nothing.
[[nodiscard]] std::optional<Date> parseDate(std::string_view text);

}  // namespace ostrel
