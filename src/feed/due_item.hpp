#pragma once
/// \file due_item.hpp
/// `DueItem`: one assessment deadline of the feed. `weight` (a percentage) and `color` may be absent.
///
///     DueItem{.unit = "AMED3003", .name = "Oral presentation", .due = d, .weight = 20.0,
///             .color = std::nullopt}

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "feed/unit_color.hpp"
#include "time/date.hpp"

namespace ostrel {

struct DueItem {
  std::string unit;
  std::string name;
  Date due;
  std::optional<double> weight;
  std::optional<UnitColor> color;
  friend bool operator==(const DueItem&, const DueItem&) = default;

  /// The document's keys, in the order of `keys`.
  enum class CodingKeys { unit, name, due, weight, color };
  static constexpr std::array<std::string_view, 5> keys{"unit", "name", "due", "weight", "color"};
};

}  // namespace ostrel
