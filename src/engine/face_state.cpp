#include "engine/face_state.hpp"

#include <algorithm>

#include "components/keys.hpp"
#include "components/phrase.hpp"
#include "time/date_format.hpp"
#include "time/string_table.hpp"
#include "widgets/widgets.hpp"

namespace ostrel {
namespace {

std::string joined(const std::string& unit, const std::string& rest) {
  return unit.empty() ? rest : unit + " " + rest;
}

FaceState nextUp(const Entry& entry, const Environment& env) {
  const ClassItem* c = entry.next();
  if (!c) return {.state = "none", .text = StringTable::lookup(keys::noClassThisWeek)};
  if (entry.date < c->start) {
    return {.state = "next", .text = joined(c->unit, Phrase::until(c->start, entry.date, env))};
  }
  return {.state = "on-now",
          .text = joined(c->unit, StringTable::format(keys::ends, {env.formatter()->time(c->end)}))};
}

FaceState dueSoon(const Entry& entry, const Environment& env) {
  const Entry::Items<DueItem> due = entry.due();
  if (due.empty()) return {.state = "none", .text = StringTable::lookup(keys::nothingDue)};
  const auto overdue =
      std::find_if(due.begin(), due.end(), [&](const DueItem& d) { return d.due < entry.date; });
  if (overdue != due.end())
    return {.state = "overdue", .text = joined(overdue->get().unit, StringTable::lookup(keys::overdue))};
  const auto nearest = std::min_element(due.begin(), due.end(),
                                        [](const DueItem& a, const DueItem& b) { return a.due < b.due; });
  return {.state = "due",
          .text = joined(nearest->get().unit, Phrase::until(nearest->get().due, entry.date, env))};
}

}  // namespace

FaceState FaceState::of(const Face& face) {
  switch (face.entry.loaded.which()) {
    case Loaded::Case::off:
      return {.state = "off", .text = StringTable::lookup(keys::widgetsOff)};
    case Loaded::Case::missing:
      return {.state = "missing", .text = StringTable::lookup(keys::openOstrel)};
    case Loaded::Case::feed:
      break;
  }
  const Environment env = face.environment(ColorScheme::light);
  return face.kind == DueWidget::kind ? dueSoon(face.entry, env) : nextUp(face.entry, env);
}

}  // namespace ostrel
