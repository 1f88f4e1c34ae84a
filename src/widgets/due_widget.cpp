#include "widgets/due_widget.hpp"

#include <algorithm>

#include "components/keys.hpp"
#include "components/phrase.hpp"
#include "time/string_table.hpp"

namespace ostrel {

Sized<DueView> DueWidget::content(const Entry& entry) {
  return Sized<DueView>{[entry](WidgetFamily family) { return DueView{.entry = entry, .family = family}; }};
}

ShortState DueWidget::shortState(const Entry& entry, const Environment& env) {
  if (std::optional<ShortState> note = ShortState::ofNote(entry.loaded)) return *note;
  const Entry::Items<DueItem> due = entry.due();
  if (due.empty()) return {.state = "none", .text = StringTable::lookup(keys::nothingDue)};
  const auto overdue =
      std::find_if(due.begin(), due.end(), [&](const DueItem& d) { return d.due < entry.date; });
  if (overdue != due.end()) {
    return {.state = "overdue",
            .text = ShortState::unitLine(overdue->get().unit, StringTable::lookup(keys::overdue))};
  }
  const auto nearest = std::min_element(due.begin(), due.end(),
                                        [](const DueItem& a, const DueItem& b) { return a.due < b.due; });
  return {
      .state = "due",
      .text = ShortState::unitLine(nearest->get().unit, Phrase::until(nearest->get().due, entry.date, env))};
}

WidgetConfiguration DueWidget::body() const {
  WidgetConfiguration c = StaticConfiguration(kind, Provider{}, &DueWidget::content)
                              .configurationDisplayName(keys::dueSoonName)
                              .description(keys::dueSoonDescription)
                              .supportedFamilies({WidgetFamily::systemMedium, WidgetFamily::systemLarge});
  c.shortState = &DueWidget::shortState;
  return c;
}

}  // namespace ostrel
