#pragma once
/// \file feed.hpp
/// The decoded feed document: `Feed`, `ClassItem`, `DueItem`, `UnitColor`. Plain immutable values,
/// built by the decoder (decoder.hpp) or directly with designated initialisers:
///
///     Feed f{.v = 1, .enabled = true, .at = Date{0}, .week = "Week 10 of 13",
///            .classes = std::vector<ClassItem>{}, .due = std::nullopt, .cards = 7};
///
/// Absent is its own state (`std::nullopt`), distinct from an empty text or list.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/date.hpp"

namespace ostrel {

/// A unit's colour pair, as hexadecimal colour text for each appearance.
struct UnitColor {
  std::string light;
  std::string dark;
  friend bool operator==(const UnitColor&, const UnitColor&) = default;

  enum class CodingKeys { light, dark };
};

/// One scheduled class.
struct ClassItem {
  std::string unit;
  std::string title;
  std::optional<std::string> where;
  Date start;
  Date end;
  std::optional<UnitColor> color;
  friend bool operator==(const ClassItem&, const ClassItem&) = default;

  enum class CodingKeys { unit, title, where, start, end, color };
};

/// One assessment deadline.
struct DueItem {
  std::string unit;
  std::string name;
  Date due;
  std::optional<double> weight;
  std::optional<UnitColor> color;
  friend bool operator==(const DueItem&, const DueItem&) = default;

  enum class CodingKeys { unit, name, due, weight, color };
};

/// The whole document.
struct Feed {
  std::int64_t v = 0;
  bool enabled = false;
  Date at;
  std::optional<std::string> week;
  std::optional<std::vector<ClassItem>> classes;
  std::optional<std::vector<DueItem>> due;
  std::optional<std::int64_t> cards;
  friend bool operator==(const Feed&, const Feed&) = default;

  enum class CodingKeys { v, enabled, at, week, classes, due, cards };
};

/// The key text of each coding key, in declaration order.
inline constexpr std::array<std::string_view, 2> kUnitColorKeys{"light", "dark"};
inline constexpr std::array<std::string_view, 6> kClassItemKeys{"unit",  "title", "where",
                                                                "start", "end",   "color"};
inline constexpr std::array<std::string_view, 5> kDueItemKeys{"unit", "name", "due", "weight", "color"};
inline constexpr std::array<std::string_view, 7> kFeedKeys{"v",       "enabled", "at",   "week",
                                                           "classes", "due",     "cards"};

/// The JSON key of a coding key: `keyText(ClassItem::CodingKeys::start) == "start"`.
[[nodiscard]] constexpr std::string_view keyText(UnitColor::CodingKeys k) {
  return kUnitColorKeys[static_cast<std::size_t>(k)];
}
[[nodiscard]] constexpr std::string_view keyText(ClassItem::CodingKeys k) {
  return kClassItemKeys[static_cast<std::size_t>(k)];
}
[[nodiscard]] constexpr std::string_view keyText(DueItem::CodingKeys k) {
  return kDueItemKeys[static_cast<std::size_t>(k)];
}
[[nodiscard]] constexpr std::string_view keyText(Feed::CodingKeys k) {
  return kFeedKeys[static_cast<std::size_t>(k)];
}

/// The coding key of `Record` whose text is exactly `text` (case-sensitive, no trimming), if any:
/// `codingKey<Feed>("cards") == Feed::CodingKeys::cards`, `codingKey<Feed>("Cards") == std::nullopt`.
template <class Record>
[[nodiscard]] constexpr std::optional<typename Record::CodingKeys> codingKey(std::string_view text) {
  constexpr auto keys = [] {
    if constexpr (std::is_same_v<Record, UnitColor>) {
      return kUnitColorKeys;
    } else if constexpr (std::is_same_v<Record, ClassItem>) {
      return kClassItemKeys;
    } else if constexpr (std::is_same_v<Record, DueItem>) {
      return kDueItemKeys;
    } else {
      return kFeedKeys;
    }
  }();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == text) return static_cast<typename Record::CodingKeys>(i);
  }
  return std::nullopt;
}

}  // namespace ostrel
