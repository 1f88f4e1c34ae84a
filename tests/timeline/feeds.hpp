#pragma once
// Small feeds for the timeline tests: classes and deadlines reduced to their instants.

#include <utility>
#include <vector>

#include "feed/loaded.hpp"

namespace ostrel::testing_timeline {

inline constexpr Date kTen{1'772'445'600};  // 2026-03-02T10:00:00Z
inline constexpr double kMin = 60;
inline constexpr double kHour = 3'600;

inline ClassItem lesson(Date start, Date end) {
  return ClassItem{
      .unit = "U", .title = "T", .where = std::nullopt, .start = start, .end = end, .color = std::nullopt};
}

inline DueItem deadline(Date due) {
  return DueItem{.unit = "U", .name = "N", .due = due, .weight = std::nullopt, .color = std::nullopt};
}

/// A switched-on feed written at `kTen` with these classes and deadlines.
inline Loaded feedOf(std::vector<ClassItem> classes, std::vector<DueItem> due = {}) {
  return Loaded::feed(Feed{.v = 1,
                           .enabled = true,
                           .at = kTen,
                           .week = std::nullopt,
                           .classes = std::move(classes),
                           .due = std::move(due),
                           .cards = std::nullopt});
}

}  // namespace ostrel::testing_timeline
