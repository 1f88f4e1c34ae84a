#include "widgets/due_widget.hpp"

#include "components/keys.hpp"

namespace ostrel {

Sized<DueView> DueWidget::content(const Entry& entry) {
  return Sized<DueView>{[entry](WidgetFamily family) { return DueView{.entry = entry, .family = family}; }};
}

WidgetConfiguration DueWidget::body() const {
  return StaticConfiguration(kind, Provider{}, &DueWidget::content)
      .configurationDisplayName(keys::dueSoonName)
      .description(keys::dueSoonDescription)
      .supportedFamilies({WidgetFamily::systemMedium, WidgetFamily::systemLarge});
}

}  // namespace ostrel
