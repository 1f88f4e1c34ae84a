#include "widgets/widgets.hpp"

namespace ostrel {

std::vector<WidgetConfiguration> OstrelWidgets::body() const {
  return {NextUpWidget{}.body(), DueWidget{}.body()};
}

}  // namespace ostrel
