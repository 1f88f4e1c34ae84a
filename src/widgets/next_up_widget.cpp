#include "widgets/next_up_widget.hpp"

#include "components/keys.hpp"

namespace ostrel {

Sized<NextUpView> NextUpWidget::content(const Entry& entry) {
  return Sized<NextUpView>{
      [entry](WidgetFamily family) { return NextUpView{.entry = entry, .family = family}; }};
}

WidgetConfiguration NextUpWidget::body() const {
  return StaticConfiguration(kind, Provider{}, &NextUpWidget::content)
      .configurationDisplayName(keys::nextUpName)
      .description(keys::nextUpDescription)
      .supportedFamilies({WidgetFamily::systemSmall, WidgetFamily::systemMedium});
}

}  // namespace ostrel
