#include "cli/widget_bundle.hpp"
#include "widgets/widgets.hpp"

int main(int argc, char** argv) {
  return ostrel::WidgetBundle::main<ostrel::OstrelWidgets>(argc, argv);
}
