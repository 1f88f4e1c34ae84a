#pragma once
/// \file widgets.hpp
/// `OstrelWidgets`: the bundle of the system's widgets, the one list the host reads.
///
///     for (const WidgetConfiguration& w : OstrelWidgets{}.body()) list(w.kind, w.families);

#include <vector>

#include "widgets/configuration.hpp"
#include "widgets/due_widget.hpp"
#include "widgets/next_up_widget.hpp"

namespace ostrel {

/// The bundle: "NextUp", then "DueSoon".
struct OstrelWidgets {
  [[nodiscard]] std::vector<WidgetConfiguration> body() const;
};

}  // namespace ostrel
