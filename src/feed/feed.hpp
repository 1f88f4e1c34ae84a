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

}  // namespace ostrel
