#pragma once
/// \file class_item.hpp
/// `ClassItem`: one scheduled class of the feed. `where` and `color` may be absent.
///
///     ClassItem{.unit = "COMP2310", .title = "Lecture", .where = "Room 1", .start = s, .end = s + 3600,
///               .color = std::nullopt}

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "feed/unit_color.hpp"
#include "time/date.hpp"

namespace ostrel {

struct ClassItem {
  std::string unit;
  std::string title;
  std::optional<std::string> where;
  Date start;
  Date end;
  std::optional<UnitColor> color;
  friend bool operator==(const ClassItem&, const ClassItem&) = default;

  /// The document's keys, in the order of `keys`.
  enum class CodingKeys { unit, title, where, start, end, color };
  static constexpr std::array<std::string_view, 6> keys{"unit", "title", "where", "start", "end", "color"};
};

}  // namespace ostrel
