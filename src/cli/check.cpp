#include "cli/commands.hpp"

namespace ostrel::cli {

void addCheck(CLI::App& app, Io& io) {
  auto* cmd = app.add_subcommand("check", "Check a feed document and print its state");
  cmd->callback([&io] { io.status = 0; });
}

}  // namespace ostrel::cli
