#include "widgets/widgets.hpp"

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

Sized<DueView> DueWidget::content(const Entry& entry) {
  return Sized<DueView>{[entry](WidgetFamily family) { return DueView{.entry = entry, .family = family}; }};
}

WidgetConfiguration DueWidget::body() const {
  return StaticConfiguration(kind, Provider{}, &DueWidget::content)
      .configurationDisplayName(keys::dueSoonName)
      .description(keys::dueSoonDescription)
      .supportedFamilies({WidgetFamily::systemMedium, WidgetFamily::systemLarge});
}

std::vector<WidgetConfiguration> OstrelWidgets::body() const {
  return {NextUpWidget{}.body(), DueWidget{}.body()};
}

}  // namespace ostrel
