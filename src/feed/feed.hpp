#pragma once
/// \file feed.hpp
/// `Feed`: the decoded feed document, with its classes (class_item.hpp) and deadlines
/// (due_item.hpp). Plain immutable values, built by the decoder (decoder.hpp) or directly with
/// designated initialisers:
///
///     Feed f{.v = 1, .enabled = true, .at = Date{0}, .week = "Week 10 of 13",
///            .classes = std::vector<ClassItem>{}, .due = std::nullopt, .cards = 7};
///
/// Absent is its own state (`std::nullopt`), distinct from an empty text or list.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "feed/class_item.hpp"
#include "feed/due_item.hpp"
#include "feed/unit_color.hpp"
#include "time/date.hpp"

namespace ostrel {

struct Feed {
  std::int64_t v = 0;
  bool enabled = false;
  Date at;
  std::optional<std::string> week;
  std::optional<std::vector<ClassItem>> classes;
  std::optional<std::vector<DueItem>> due;
  std::optional<std::int64_t> cards;
  friend bool operator==(const Feed&, const Feed&) = default;

  /// The document's keys, in the order of `keys`.
  enum class CodingKeys { v, enabled, at, week, classes, due, cards };
  static constexpr std::array<std::string_view, 7> keys{"v",       "enabled", "at",   "week",
                                                        "classes", "due",     "cards"};
};

/// The coding key of a record (`Feed`, `ClassItem`, `DueItem`, `UnitColor`) whose text is exactly
/// `text` (case-sensitive, no trimming), if any: `codingKey<Feed>("cards") == Feed::CodingKeys::cards`,
/// `codingKey<Feed>("Cards") == std::nullopt`.
template <class Record>
[[nodiscard]] constexpr std::optional<typename Record::CodingKeys> codingKey(std::string_view text) {
  for (std::size_t i = 0; i < Record::keys.size(); ++i) {
    if (Record::keys[i] == text) return static_cast<typename Record::CodingKeys>(i);
  }
  return std::nullopt;
}

}  // namespace ostrel
