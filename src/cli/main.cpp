#include "cli/host.hpp"
#include "timeline/widgets.hpp"

int main(int argc, char** argv) {
  return ostrel::WidgetBundle::main<ostrel::OstrelWidgets>(argc, argv);
}
