#pragma once
/// \file note.hpp
/// What a widget shows instead of its face when the feed is switched off or not usable: a heading
/// at the top-left, and a bold line with an explanation at the bottom-left.
///
///     Note{.heading = "Next up", .loaded = entry.loaded}.view(env)

#include <string>

#include "feed/loaded.hpp"
#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

struct Note {
  std::string heading;  ///< the title of the `Heading` at the top
  Loaded loaded;        ///< `off` says "Widgets are off"; every other case "Open Ostrel"

  /// `VStack(leading, 6)` filling its container (content top-leading): `Heading{heading}`,
  /// `Spacer(0)`, the title (localised, system 13 semibold) and the message (localised, system 11,
  /// secondary).
  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "Note" (args: heading, loaded) around `body`.
  [[nodiscard]] View view(const Environment& env) const;
};

}  // namespace ostrel
