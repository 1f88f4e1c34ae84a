// The autostart entry `ostrel-widgets host` writes and removes: the same options, in a valid desktop
// entry, whatever the feed's name holds. (Its refusals are cases of tests/data/cli/commands.txt.)
#include <glib.h>
#include <gtest/gtest.h>

#include <fstream>

#include "command.hpp"

namespace ostrel::cli_test {
namespace {

namespace fs = std::filesystem;

/// The words of the entry's Exec line, as a launcher takes them apart: the value's escapes, the
/// quoting (GLib's shell rules agree with the entry's), then "%%" as one "%".
std::vector<std::string> execWords(const fs::path& file) {
  std::vector<std::string> words;
  GKeyFile* keys = g_key_file_new();
  gchar* exec = g_key_file_load_from_file(keys, file.c_str(), G_KEY_FILE_NONE, nullptr)
                    ? g_key_file_get_string(keys, "Desktop Entry", "Exec", nullptr)
                    : nullptr;
  gchar** argv = nullptr;
  if (exec != nullptr && g_shell_parse_argv(exec, nullptr, &argv, nullptr)) {
    for (gchar** a = argv; *a != nullptr; ++a) {
      std::string w = *a;
      for (std::size_t at = w.find("%%"); at != std::string::npos; at = w.find("%%", at + 1)) w.erase(at, 1);
      words.push_back(w);
    }
  }
  g_strfreev(argv);
  g_free(exec);
  g_key_file_free(keys);
  return words;
}

TEST_F(CommandTest, HostInstallsAnAutostartEntryWithTheSameOptionsAndRemovesIt) {
  const std::map<std::string, std::string> env{{"XDG_CONFIG_HOME", (dir_ / "config").string()}};
  const fs::path entry = dir_ / "config/autostart/ostrel-widgets.desktop";
  const std::string front = "'" + fs::canonical(OSTREL_COMMAND).string() + "' host ";
  const std::string shown =
      "--widget DueSoon:systemLarge --corner bottom-left --margin 40 --gap 8 --monitor 1 "
      "--scheme dark --feed '";
  write("100% \"odd\" $feed.json", "{}");
  const Outcome installed = runLine(
      front + "--install-autostart " + shown + "100% \"odd\" $feed.json' --tz Europe/Berlin --locale de_DE",
      env);
  ASSERT_EQ(installed.status, 0) << installed.err;
  EXPECT_EQ(installed.out, entry.string() + "\n");
  EXPECT_EQ(execWords(entry), words(front + shown + dir_.string() +
                                    "/100% \"odd\" $feed.json' --tz Europe/Berlin --locale de_DE"));
  for (const fs::path& file : {entry, fs::path(OSTREL_SOURCE_DIR) / "src/desktop/ostrel-widgets.desktop"}) {
    EXPECT_EQ(test_support::capture({"desktop-file-validate", file.string()}, {}).status, 0) << file;
  }
  // Installing again replaces the entry; the defaults are written out.
  ASSERT_EQ(runLine(front + "--install-autostart", env).status, 0);
  EXPECT_EQ(execWords(entry),
            words(front + "--widget NextUp:systemSmall --widget DueSoon:systemMedium --corner "
                          "top-right --margin 24 --gap 16"));
  EXPECT_EQ(runLine("ostrel-widgets host --remove-autostart", env).out, "removed " + entry.string() + "\n");
  EXPECT_FALSE(fs::exists(entry));
  const Outcome again = runLine("ostrel-widgets host --remove-autostart", env);
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "not installed: " + entry.string() + "\n");
}

}  // namespace
}  // namespace ostrel::cli_test
