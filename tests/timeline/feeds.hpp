#pragma once
// Small feeds for the timeline tests: classes and deadlines reduced to their instants.

#include <string>
#include <vector>

#include "feed/loaded.hpp"

namespace ostrel::testing_timeline {

inline constexpr Date kTen{1'772'445'600};  // 2026-03-02T10:00:00Z
inline constexpr double kHour = 3'600;

inline ClassItem lesson(Date start, Date end, std::string title = "T") {
  return ClassItem{
      .unit = "U", .title = std::move(title), .where = {}, .start = start, .end = end, .color = {}};
}

inline DueItem deadline(Date due, std::string name = "N") {
  return DueItem{.unit = "U", .name = std::move(name), .due = due, .weight = {}, .color = {}};
}

/// A switched-on feed written at `kTen` with these classes and deadlines, week "W" and 7 cards.
inline Loaded feedOf(std::vector<ClassItem> classes, std::vector<DueItem> due = {}) {
  return Loaded::feed(
      Feed{.v = 1, .enabled = true, .at = kTen, .week = "W", .classes = classes, .due = due, .cards = 7});
}

}  // namespace ostrel::testing_timeline
