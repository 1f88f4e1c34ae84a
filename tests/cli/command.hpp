#pragma once
/// \file command.hpp
/// For the command's tests: a way to run the built `ostrel-widgets` in a scratch directory, with its
/// standard output, standard error and exit status kept apart. Every run is bounded in time: a
/// command still running after 30 seconds is killed and reported with status -1.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/scratch.hpp"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace ostrel::cli_test {

namespace fs = std::filesystem;

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;  ///< the exit status; -1 when killed by a signal or by the time limit
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
    return spawn({"/bin/sh", "-c", "exec " + quoted(OSTREL_COMMAND) + " " + args});
  }

  /// Runs `ostrel-widgets` with exactly these arguments (no shell), after `prefix` (a program that
  /// runs it, such as {"prlimit", "--fsize=4096"}) and with `env` ("NAME=VALUE") added.
  [[nodiscard]] Outcome runArgs(const std::vector<std::string>& args, std::vector<std::string> prefix = {},
                                const std::vector<std::string>& env = {}) const {
    prefix.emplace_back(OSTREL_COMMAND);
    prefix.insert(prefix.end(), args.begin(), args.end());
    return spawn(prefix, env);
  }

  /// Files in the directory whose name ends in ".tmp": what an interrupted write would leave.
  [[nodiscard]] std::vector<std::string> temporaryFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir_)) {
      if (e.path().extension() == ".tmp") names.push_back(e.path().filename().string());
    }
    return names;
  }

  /// Runs the program `argv[0]` with the arguments after it, `env` ("NAME=VALUE") added.
  [[nodiscard]] Outcome spawn(std::vector<std::string> argv, const std::vector<std::string>& env = {}) const {
    argv.insert(argv.begin(), {"timeout", "-s", "KILL", "30"});
    const fs::path outFile = dir_ / ".stdout";
    const fs::path errFile = dir_ / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    std::vector<std::string> environment(env);
    for (char** e = environ; *e != nullptr; ++e) environment.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    Outcome r;
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return r;
    int raw = 0;
    if (::waitpid(pid, &raw, 0) != pid) return r;
    // `timeout` answers 137 (128 + SIGKILL) when it had to kill the command.
    r.status = WIFEXITED(raw) && WEXITSTATUS(raw) != 137 ? WEXITSTATUS(raw) : -1;
    r.out = slurp(outFile);
    r.err = slurp(errFile);
    std::error_code ec;
    fs::remove(outFile, ec);
    fs::remove(errFile, ec);
    return r;
  }

 private:
  static std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
};

}  // namespace ostrel::cli_test
