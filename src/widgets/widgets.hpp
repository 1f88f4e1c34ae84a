#pragma once
/// \file widgets.hpp
/// The two widgets and the bundle that lists them, as the host sees them.
///
///     for (const WidgetConfiguration& w : OstrelWidgets{}.body()) list(w.kind, w.families);
///
/// `Sized` reads the family the host is drawing from the environment and hands it to the content
/// function, so the faces take the family as a plain field.

#include <functional>
#include <vector>

#include "views/due_view.hpp"
#include "views/next_up_view.hpp"
#include "widgets/configuration.hpp"

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

struct NextUpWidget {
  static constexpr const char* kind = "NextUp";
  /// The content of one entry: a `Sized` holding a copy of it.
  [[nodiscard]] static Sized<NextUpView> content(const Entry& entry);
  [[nodiscard]] WidgetConfiguration body() const;
};

struct DueWidget {
  static constexpr const char* kind = "DueSoon";
  [[nodiscard]] static Sized<DueView> content(const Entry& entry);
  [[nodiscard]] WidgetConfiguration body() const;
};

/// The bundle: "NextUp", then "DueSoon".
struct OstrelWidgets {
  [[nodiscard]] std::vector<WidgetConfiguration> body() const;
};

}  // namespace ostrel
