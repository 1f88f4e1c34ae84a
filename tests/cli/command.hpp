#pragma once
/// \file command.hpp
/// For the command's tests: a scratch folder and the built `ostrel-widgets` run in it, as a user
/// runs it (first in PATH), with its output kept.
#include <glib.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/process.hpp"
#include "support/scratch.hpp"

namespace ostrel::cli_test {

using test_support::Outcome;

/// The words of a command line: split as a shell splits them, then C escapes (\n, \033) replaced
/// and <C*N> spelled out as N copies of C.
inline std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  gchar** argv = nullptr;
  if (!g_shell_parse_argv(line.c_str(), nullptr, &argv, nullptr)) return out;
  static const std::regex repeat(R"(<(.)\*(\d+)>)");
  for (gchar** a = argv; *a != nullptr; ++a) {
    gchar* plain = g_strcompress(*a);
    std::string w = plain;
    g_free(plain);
    for (std::smatch m; std::regex_search(w, m, repeat);) {
      w.replace(static_cast<std::size_t>(m.position(0)), static_cast<std::size_t>(m.length(0)),
                std::string(std::stoul(m.str(2)), m.str(1)[0]));
    }
    out.push_back(std::move(w));
  }
  g_strfreev(argv);
  return out;
}

class CommandTest : public test_support::ScratchTest {
 protected:
  /// Runs `argv` in the folder after `prefix` (such as setpriv), with `env` over the test's own (and
  /// its configuration in the folder's config/).
  [[nodiscard]] Outcome run(const std::vector<std::string>& argv, std::map<std::string, std::string> env = {},
                            std::vector<std::string> prefix = {}) const {
    const char* path = std::getenv("PATH");
    env.emplace("PATH", std::filesystem::path(OSTREL_COMMAND).parent_path().string() + ":" +
                            (path != nullptr ? path : "/usr/bin:/bin"));
    env.emplace("XDG_CONFIG_HOME", (dir_ / "config").string());  // never the user's own autostart
    prefix.insert(prefix.end(), {"env", "-C", dir_.string()});
    return test_support::capture(argv, {.env = env, .out = {}, .err = {}, .passFd = {}, .prefix = prefix});
  }
  /// The same for a command line (see `words`).
  [[nodiscard]] Outcome runLine(const std::string& line, const std::map<std::string, std::string>& env = {},
                                const std::vector<std::string>& prefix = {}) const {
    return run(words(line), env, prefix);
  }
};

}  // namespace ostrel::cli_test
