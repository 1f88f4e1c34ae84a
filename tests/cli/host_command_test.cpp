// Runs `ostrel-widgets host` where no window is needed: its argument errors, a session without a
// display, and the autostart entry it writes and removes.
#include <glib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;

using ostrel::cli_test::Outcome;

class HostCommand : public ostrel::cli_test::CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    // The command sees no display and writes its configuration here.
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }
  [[nodiscard]] fs::path entry() const { return dir_ / "config" / "autostart" / "ostrel-widgets.desktop"; }
};

struct BadRow {
  std::string args;
  std::string error;  ///< part of the one line on standard error
};

class HostCommandBadUsage : public HostCommand, public ::testing::WithParamInterface<BadRow> {};

TEST_P(HostCommandBadUsage, SaysWhyOnOneLineWithStatusTwo) {
  const Outcome r = run("host " + GetParam().args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(GetParam().error), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostCommandBadUsage,
    ::testing::Values(BadRow{"--widget NextUp", "KIND:FAMILY"},
                      BadRow{"--widget Weather:systemSmall", "known kind"},
                      BadRow{"--widget NextUp:systemLarge", "NextUp is not offered in systemLarge"},
                      BadRow{"--corner middle", "--corner"}, BadRow{"--margin -3", "--margin"},
                      BadRow{"--gap x", "--gap"}, BadRow{"--monitor 123", "--monitor"},
                      BadRow{"--scheme sepia", "--scheme"}, BadRow{"--speed 0", "--speed"},
                      BadRow{"--speed max", "--speed max needs --until"},
                      BadRow{"--install-autostart --remove-autostart", "excludes"}));

TEST_F(HostCommand, WithoutADisplaySaysSoWithStatusOne) {
  const Outcome r = run("host --feed none.json");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot open a display"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

/// The words of the entry's Exec line, as a launcher takes them apart: the value's escapes, the
/// quoting (GLib's shell rules agree with the entry's), then "%%" as one "%".
std::vector<std::string> execWords(const fs::path& file) {
  std::vector<std::string> words;
  GKeyFile* keys = g_key_file_new();
  if (g_key_file_load_from_file(keys, file.c_str(), G_KEY_FILE_NONE, nullptr)) {
    gchar* exec = g_key_file_get_string(keys, "Desktop Entry", "Exec", nullptr);
    gchar** argv = nullptr;
    if (exec != nullptr && g_shell_parse_argv(exec, nullptr, &argv, nullptr)) {
      for (gchar** a = argv; *a != nullptr; ++a) {
        std::string w = *a;
        for (std::size_t at = w.find("%%"); at != std::string::npos; at = w.find("%%", at + 1))
          w.erase(at, 1);
        words.push_back(w);
      }
      g_strfreev(argv);
    }
    g_free(exec);
  }
  g_key_file_free(keys);
  return words;
}

TEST_F(HostCommand, InstallsAnAutostartEntryWithTheSameOptionsAndRemovesIt) {
  std::ofstream(dir_ / "my feed.json") << "{}";
  const Outcome installed =
      run("host --install-autostart --widget DueSoon:systemLarge --corner bottom-left --margin 40 --gap 8 "
          "--monitor 1 "
          "--scheme dark --feed 'my feed.json' --tz Europe/Berlin --locale de_DE");
  ASSERT_EQ(installed.status, 0) << installed.err;
  EXPECT_EQ(installed.out, entry().string() + "\n");
  const std::vector<std::string> expected{fs::canonical(OSTREL_COMMAND).string(),
                                          "host",
                                          "--widget",
                                          "DueSoon:systemLarge",
                                          "--corner",
                                          "bottom-left",
                                          "--margin",
                                          "40",
                                          "--gap",
                                          "8",
                                          "--monitor",
                                          "1",
                                          "--scheme",
                                          "dark",
                                          "--feed",
                                          (dir_ / "my feed.json").string(),
                                          "--tz",
                                          "Europe/Berlin",
                                          "--locale",
                                          "de_DE"};
  EXPECT_EQ(execWords(entry()), expected);

  // Installing again replaces the entry; the defaults are written out.
  ASSERT_EQ(run("host --install-autostart").status, 0);
  EXPECT_EQ(execWords(entry()),
            (std::vector<std::string>{fs::canonical(OSTREL_COMMAND).string(), "host", "--widget",
                                      "NextUp:systemSmall", "--widget", "DueSoon:systemMedium", "--corner",
                                      "top-right", "--margin", "24", "--gap", "16"}));

  const Outcome removed = run("host --remove-autostart");
  EXPECT_EQ(removed.status, 0);
  EXPECT_EQ(removed.out, "removed " + entry().string() + "\n");
  EXPECT_FALSE(fs::exists(entry()));
  const Outcome again = run("host --remove-autostart");
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "not installed: " + entry().string() + "\n");
}

TEST_F(HostCommand, TheAutostartEntryAndTheInstalledEntryAreValidDesktopEntries) {
  std::ofstream(dir_ / "100% \"odd\" $feed.json") << "{}";
  ASSERT_EQ(run("host --install-autostart --feed '100% \"odd\" $feed.json'").status, 0);
  for (const fs::path& file : {entry(), fs::path(OSTREL_SOURCE_DIR) / "src/desktop/ostrel-widgets.desktop"}) {
    const std::string check = "desktop-file-validate " + ostrel::cli_test::quoted(file) + " >/dev/null";
    EXPECT_EQ(std::system(check.c_str()), 0) << file;
  }
  const std::vector<std::string> words = execWords(entry());
  ASSERT_GE(words.size(), 2u);
  EXPECT_EQ(words[words.size() - 2], "--feed");
  EXPECT_EQ(words.back(), (dir_ / "100% \"odd\" $feed.json").string());
}

TEST_F(HostCommand, AnUnwritableAutostartFolderIsStatusOne) {
  std::ofstream(dir_ / "config") << "a file where the folder should be";
  const Outcome r = run("host --install-autostart");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

}  // namespace
