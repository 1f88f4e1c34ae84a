#include "support/process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <thread>
#include <utility>

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace ostrel::test_support {

double monotonic() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void sleepFor(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool haveProgram(const std::string& program) {
  return capture({"sh", "-c", "command -v \"$0\"", program}, {}).status == 0;
}

Process::Process(const std::vector<std::string>& argv, const Options& options) {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view kv(*e);
    env.emplace(kv.substr(0, kv.find('=')), kv.substr(std::min(kv.size(), kv.find('=') + 1)));
  }
  for (const auto& [k, v] : options.env) v.empty() ? void(env.erase(k)) : void(env.insert_or_assign(k, v));
  std::vector<std::string> words = options.prefix, envText;
  words.insert(words.end(), argv.begin(), argv.end());
  for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
  std::vector<char*> args, envp;
  for (std::string& w : words) args.push_back(w.data());
  for (std::string& e : envText) envp.push_back(e.data());
  args.push_back(nullptr);
  envp.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    ::setpgid(0, 0);
    const auto redirect = [](const std::filesystem::path& p, int fd) {
      const int f =
          ::open(p.empty() ? "/dev/null" : p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (f >= 0) ::dup2(f, fd);
    };
    redirect(options.out, 1);
    redirect(options.err, 2);
    if (const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC); in >= 0) ::dup2(in, 0);
    if (options.passFd) {
      const auto [from, to] = *options.passFd;
      from == to ? ::fcntl(to, F_SETFD, 0) : ::dup2(from, to);
    }
    ::execvpe(args[0], args.data(), envp.data());
    ::_exit(127);
  }
  ::setpgid(child, child);
  pid_ = child;
}

Process::~Process() {
  if (pid_ > 0) stop(SIGTERM, 5);
}

Process::Process(Process&& other) noexcept : pid_(std::exchange(other.pid_, -1)), status_(other.status_) {}

// The process this one held, if any, is stopped when `other` goes.
Process& Process::operator=(Process&& other) noexcept {
  std::swap(pid_, other.pid_);
  std::swap(status_, other.status_);
  return *this;
}

std::optional<int> Process::wait(double seconds) {
  if (status_) return status_;
  if (pid_ <= 0) return std::nullopt;
  const double end = monotonic() + seconds;
  while (true) {
    int raw = 0;
    const pid_t r = ::waitpid(pid_, &raw, WNOHANG);
    if (r == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      // Whatever it started in its group (a bus's activated services) goes with it.
      ::kill(-pid_, SIGTERM);
      pid_ = -1;
      return status_;
    }
    if (r < 0 || monotonic() > end) return std::nullopt;
    sleepFor(0.01);
  }
}

bool Process::running() {
  return pid_ > 0 && !wait(0);
}

int Process::stop(int signal, double seconds) {
  if (pid_ <= 0) return status_.value_or(-1);
  const pid_t group = pid_;
  ::kill(pid_, signal);
  if (const auto s = wait(seconds)) return *s;
  ::kill(-group, SIGKILL);
  int raw = 0;
  ::waitpid(group, &raw, 0);
  pid_ = -1;
  status_ = -1;
  return -1;
}

Outcome capture(const std::vector<std::string>& argv, Process::Options options) {
  std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-output-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  const std::filesystem::path dir = pattern;
  options.out = dir / "out";
  options.err = dir / "err";
  Process p(argv, options);
  Outcome r;
  const std::optional<int> ended = p.wait(30);
  r.status = ended ? *ended : p.stop(SIGKILL, 5);
  std::ifstream out(options.out, std::ios::binary), err(options.err, std::ios::binary);
  r.out.assign(std::istreambuf_iterator<char>(out), {});
  r.err.assign(std::istreambuf_iterator<char>(err), {});
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return r;
}

int runToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::filesystem::path& err) {
  Process p(argv, {.env = env, .out = {}, .err = err, .passFd = {}, .prefix = {}});
  return p.wait(30).value_or(-1);
}

}  // namespace ostrel::test_support
