#include <iostream>

#include "cli/commands.hpp"

int main(int argc, char** argv) { return ostrel::cli::run(argc, argv, std::cout, std::cerr); }
