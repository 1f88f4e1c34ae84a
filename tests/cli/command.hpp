#pragma once
/// \file command.hpp
/// For the command's tests: a way to run the built `ostrel-widgets` in a scratch directory, with its
/// standard output, standard error and exit status kept apart.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/scratch.hpp"

namespace ostrel::cli_test {

namespace fs = std::filesystem;

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

/// `p` quoted for the shell (test paths hold no single quote).
inline std::string quoted(const fs::path& p) {
  std::string out = "'";
  out += p.string();
  out += '\'';
  return out;
}

/// A scratch directory and the built command to run in it.
class CommandTest : public test_support::ScratchTest {
 protected:
  /// Runs `ostrel-widgets ARGS` (words already quoted for the shell) with the directory as its
  /// working directory.
  [[nodiscard]] Outcome run(const std::string& args) const {
    const fs::path errFile = dir_ / ".stderr";
    std::string line = "cd ";
    line += quoted(dir_);
    line += " && ";
    line += quoted(OSTREL_COMMAND);
    line += ' ';
    line += args;
    line += " 2>";
    line += quoted(errFile);
    Outcome r;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) return r;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream e(errFile, std::ios::binary);
    r.err.assign(std::istreambuf_iterator<char>(e), {});
    return r;
  }
};

}  // namespace ostrel::cli_test
