#pragma once
/// \file heading.hpp
/// The title row at the top of every widget: an accent dot, the title in spaced capitals, and an
/// optional short text at the right edge.
///
///     Heading{.text = "Later", .trailing = entry.week()}.view(env)

#include <optional>
#include <string>

#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

struct Heading {
  std::string text;                     ///< shown upper-cased (`upperCased`)
  std::optional<std::string> trailing;  ///< shown unchanged at the right; absent by default

  /// `HStack(center, 5)`: a 5 × 5 accent `Circle`; the upper-cased title, verbatim, system 10
  /// semibold, tracking 0.6, secondary; `Spacer(4)`; and only with `trailing`, its text verbatim,
  /// system 10 medium, secondary.
  [[nodiscard]] View body(const Environment& env) const;
  /// The composite node "Heading" (args: text, and trailing when present) around `body`.
  [[nodiscard]] View view(const Environment& env) const;
};

}  // namespace ostrel
