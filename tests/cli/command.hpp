#pragma once
/// \file command.hpp
/// For the command's tests: a scratch directory of their own and a way to run the built
/// `ostrel-widgets` in it, with its standard output, standard error and exit status kept apart.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

/// A test fixture owning a fresh directory under the system's temporary one, removed afterwards.
class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ostrel-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  /// Writes `content` to a new file in the directory and returns its path.
  fs::path write(const std::string& content) {
    const fs::path p = dir_ / ("feed" + std::to_string(++files_) + ".json");
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
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

  fs::path dir_;
  int files_ = 0;
};

}  // namespace ostrel::cli_test
