#pragma once
/// \file when.hpp
/// The countdown as a view: one verbatim `Text` of `Phrase::until(date, now)` with no font or
/// colour of its own (the faces that place it give those).
///
///     When{.date = c.start, .now = entry.date}.view(env)   // "in 40 min"

#include "time/date.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

struct When {
  Date date;  ///< the moment counted down to
  Date now;   ///< the moment the view is drawn for; never read from the clock

  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "When" (args: date, now) around `body`.
  [[nodiscard]] View view(const Environment& env) const;
};

}  // namespace ostrel
