// `ostrel-widgets-draw`: the whole command in one executable, every subcommand with the drawing
// libraries loaded. `ostrel-widgets` hands it the command lines of the subcommands that draw.
#include <csignal>
#include <iostream>

#include "draw/commands.hpp"

int main(int argc, char** argv) {
  // A file-size limit makes a write fail (EFBIG) instead of killing the process, so an output file
  // is still written whole or not at all.
  std::signal(SIGXFSZ, SIG_IGN);
  return ostrel::draw::run(argc, argv, std::cout, std::cerr);
}
