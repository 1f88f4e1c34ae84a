#include <csignal>

#include "cli/widget_bundle.hpp"
#include "widgets/widgets.hpp"

int main(int argc, char** argv) {
  // A file-size limit makes a write fail (EFBIG) instead of killing the process, so an output file
  // is still written whole or not at all.
  std::signal(SIGXFSZ, SIG_IGN);
  return ostrel::WidgetBundle::main<ostrel::OstrelWidgets>(argc, argv);
}
