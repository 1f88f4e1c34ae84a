#pragma once
/// \file face_state.hpp
/// A face in a word and a short line, for status bars that style and abbreviate: what state it is in
/// and the one thing it counts down to.
///
/// | kind    | state                                                      | short                       |
/// |---------|------------------------------------------------------------|-----------------------------|
/// | any     | `off` (switched off), `missing` (no usable feed)           | the note's title            |
/// | NextUp  | `next` (a class ahead), `on-now` (under way), `none`       | "FINC3600 in 40 min", "FINC3600
/// ends 11:50", "No class this week" | | DueSoon | `overdue` (any listed item past due), `due`, `none` | the
/// first overdue item ("STAT2011 Overdue"), else the nearest ("COMP2123 in 2 h") |
///
///     FaceState s = FaceState::of(face);   // {.state = "next", .text = "FINC3600 in 40 min"}

#include <string>

#include "engine/face_output.hpp"

namespace ostrel {

struct FaceState {
  std::string state;  ///< next, on-now, due, overdue, none, off, missing
  std::string text;   ///< the short line, in the face's locale and zone

  [[nodiscard]] static FaceState of(const Face& face);
  friend bool operator==(const FaceState&, const FaceState&) = default;
};

}  // namespace ostrel
