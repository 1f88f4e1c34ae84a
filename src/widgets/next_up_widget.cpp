#include "widgets/next_up_widget.hpp"

#include "components/keys.hpp"
#include "components/phrase.hpp"
#include "time/date_format.hpp"
#include "time/string_table.hpp"

namespace ostrel {

Sized<NextUpView> NextUpWidget::content(const Entry& entry) {
  return Sized<NextUpView>{
      [entry](WidgetFamily family) { return NextUpView{.entry = entry, .family = family}; }};
}

ShortState NextUpWidget::shortState(const Entry& entry, const Environment& env) {
  if (std::optional<ShortState> note = ShortState::ofNote(entry.loaded)) return *note;
  const ClassItem* c = entry.next();
  if (!c) return {.state = "none", .text = StringTable::lookup(keys::noClassThisWeek)};
  if (entry.date < c->start) {
    return {.state = "next", .text = ShortState::unitLine(c->unit, Phrase::until(c->start, entry.date, env))};
  }
  return {.state = "on-now",
          .text = ShortState::unitLine(c->unit,
                                       StringTable::format(keys::ends, {env.formatter()->time(c->end)}))};
}

WidgetConfiguration NextUpWidget::body() const {
  WidgetConfiguration c = StaticConfiguration(kind, Provider{}, &NextUpWidget::content)
                              .configurationDisplayName(keys::nextUpName)
                              .description(keys::nextUpDescription)
                              .supportedFamilies({WidgetFamily::systemSmall, WidgetFamily::systemMedium});
  c.shortState = &NextUpWidget::shortState;
  return c;
}

}  // namespace ostrel
