#pragma once
/// \file sized.hpp
/// `Sized`: reads the family the host is drawing from the environment and hands it to a content
/// function, so that the faces take the family as a plain field.
///
///     Sized<NextUpView>{[entry](WidgetFamily f) { return NextUpView{.entry = entry, .family = f}; }}
///         .view(env)   // Sized(family: systemSmall) around the face drawn small

#include <functional>
#include <string>

#include "ui/environment.hpp"
#include "ui/view.hpp"

namespace ostrel {

/// Hands the environment's widget family to `content`.
template <class Content>
struct Sized {
  std::function<Content(WidgetFamily)> content;

  /// The family bound to the environment.
  [[nodiscard]] static WidgetFamily family(const Environment& env) { return env.widgetFamily; }
  [[nodiscard]] View body(const Environment& env) const { return content(family(env)).view(env); }
  /// The composite node "Sized" (args: family) around `body`.
  [[nodiscard]] View view(const Environment& env) const {
    return Composite("Sized", {{{"family", std::string(name(family(env)))}}}, body(env));
  }
};

}  // namespace ostrel
