#pragma once
/// \file process.hpp
/// For tests that run programs: a child process with extra environment variables and its standard
/// streams in files, stopped with its whole process group when the test is done with it; a program
/// run to its end with its output kept. Every wait is bounded in time.
///
///     Process host({"ostrel-widgets", "host"}, {.env = env, .out = {}, .err = log, .passFd = {}, .prefix = {}});
///     ASSERT_TRUE(eventually([&] { return windowShown(); }));
///     EXPECT_EQ(host.stop(SIGTERM), 0);
#include <sys/types.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ostrel::test_support {

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
  /// Starts `argv` (argv[0] searched in PATH), standard input from /dev/null; check `running()`.
  Process(const std::vector<std::string>& argv, const Options& options);
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;

  [[nodiscard]] bool running();
  [[nodiscard]] pid_t pid() const { return pid_; }
  /// Sends `signal` and waits up to `seconds` for it to end; its exit status, or -1 when it had to
  /// be killed or ended by a signal.
  int stop(int signal, double seconds = 10);
  /// Waits up to `seconds` for it to end by itself; its exit status (-1: by a signal), or none.
  std::optional<int> wait(double seconds);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

/// What a program run to its end printed and returned.
struct Outcome {
  std::string out, err;
  int status = -1;  ///< -1: ended by a signal, or killed at the time limit
};

/// Runs `argv` to its end (killed after 30 s), `options`' out and err replaced; what it printed.
[[nodiscard]] Outcome capture(const std::vector<std::string>& argv, Process::Options options);

/// Runs `argv` with `env` to its end (within 30 s), standard error to `err` if given; its exit
/// status, or -1.
int runToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::filesystem::path& err = {});

/// Whether `program` is found in PATH (or is an executable path).
[[nodiscard]] bool haveProgram(const std::string& program);

/// Seconds on the monotonic clock.
[[nodiscard]] double monotonic();
void sleepFor(double seconds);

/// Polls `condition` every 20 ms for up to `seconds`; whether it became true.
template <class Condition>
bool eventually(Condition condition, double seconds = 15) {
  for (const double end = monotonic() + seconds; !condition(); sleepFor(0.02)) {
    if (monotonic() > end) return false;
  }
  return true;
}

}  // namespace ostrel::test_support
