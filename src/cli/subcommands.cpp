#include "cli/subcommands.hpp"

#include <algorithm>
#include <cassert>

namespace ostrel::cli {

CLI::App* addSubcommand(CLI::App& app, std::string_view name) {
  const auto* sub = std::find_if(kSubcommands.begin(), kSubcommands.end(),
                                 [name](const Subcommand& s) { return s.name == name; });
  assert(sub != kSubcommands.end() && "every subcommand is in the list");
  return app.add_subcommand(std::string(name), sub != kSubcommands.end() ? std::string(sub->summary) : "");
}

}  // namespace ostrel::cli
