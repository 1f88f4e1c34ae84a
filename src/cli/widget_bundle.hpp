#pragma once
/// \file widget_bundle.hpp
/// The widget host. On this system the host is the `ostrel-widgets` command: it takes the bundle's
/// widget declarations, asks their provider for entries and prints or draws their content.
///
///     int main(int argc, char** argv) { return WidgetBundle::main<OstrelWidgets>(argc, argv); }

#include <iostream>

#include "cli/commands.hpp"

namespace ostrel {

struct WidgetBundle {
  /// Runs the host for `Bundle` over the command line; returns the exit status (io.hpp). The
  /// subcommands that draw run in `ostrel-widgets-draw`, which is built for this system's bundle
  /// (hand_over.hpp).
  template <class Bundle>
  [[nodiscard]] static int main(int argc, const char* const* argv) {
    return cli::runFront(Bundle{}.body(), argc, argv, std::cout, std::cerr);
  }
};

}  // namespace ostrel
