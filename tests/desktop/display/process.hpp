#pragma once
/// \file process.hpp
/// For the display tests: a child process started with extra environment variables, its standard
/// output and error kept in files, stopped (its whole process group) when the test ends.
#include <sys/types.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ostrel::display_test {

class Process {
 public:
  struct Options {
    std::map<std::string, std::string> env;  ///< set (an empty value: removed) over the test's own
    std::filesystem::path out, err;          ///< where its standard output and error go (empty: nowhere)
    /// A descriptor of the test's that the child gets as another number: {test's, child's}.
    std::optional<std::pair<int, int>> passFd;
    std::vector<std::string> prefix;  ///< words run first, e.g. setpriv to drop privileges
  };

  Process() = default;
  /// Starts `argv` (argv[0] searched in PATH); check `running()`.
  Process(const std::vector<std::string>& argv, const Options& options);
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  [[nodiscard]] bool running();
  [[nodiscard]] pid_t pid() const { return pid_; }
  /// Sends `signal` to the process and waits up to `seconds` for it to end; its exit status, or
  /// -1 when it had to be killed or ended by a signal.
  int stop(int signal, double seconds = 10);
  /// Waits up to `seconds` for the process to end by itself; its exit status, or none.
  std::optional<int> wait(double seconds);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

/// Runs `argv` with `env` over the test's environment to its end (within 30 s); its exit status,
/// or -1. Its standard error goes to `err` when given.
int runToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::filesystem::path& err = {});

/// Whether `program` is found in PATH (or is an executable path).
[[nodiscard]] bool haveProgram(const std::string& program);

/// Polls `condition` every 50 ms for up to `seconds`; whether it became true.
template <class Condition>
bool eventually(Condition condition, double seconds = 15);

/// Seconds on the monotonic clock.
[[nodiscard]] double monotonic();

}  // namespace ostrel::display_test

#include <unistd.h>

namespace ostrel::display_test {
template <class Condition>
bool eventually(Condition condition, double seconds) {
  const double end = monotonic() + seconds;
  while (true) {
    if (condition()) return true;
    if (monotonic() > end) return false;
    ::usleep(50'000);
  }
}
}  // namespace ostrel::display_test
