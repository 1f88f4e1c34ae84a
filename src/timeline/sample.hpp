#pragma once
/// \file sample.hpp
/// `Sample::feed`: fixed, plausible content for placeholders and previews — two classes, two
/// deadlines, a week label and a card count — dated by plain second offsets from the host's now.

#include "feed/feed.hpp"
#include "time/clock.hpp"

namespace ostrel {

struct Sample {
  /// The sample, made afresh for `clock.now()` (read once). Never fails, reads no file.
  [[nodiscard]] static Feed feed(const Clock& clock);
};

}  // namespace ostrel
