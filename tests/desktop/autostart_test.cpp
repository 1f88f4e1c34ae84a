#include "desktop/autostart.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/rows.hpp"
#include "support/scratch.hpp"

namespace ostrel::desktop {
namespace {

namespace fs = std::filesystem;

/// The Exec line of `entry` as a desktop-entry reader splits it: the value's escapes undone by
/// GLib's key-file reader, then the words split by its shell-quoting rules (which agree with the
/// Exec quoting for everything but field codes).
std::vector<std::string> execWords(const std::string& entry) {
  GKeyFile* file = g_key_file_new();
  std::vector<std::string> words;
  if (g_key_file_load_from_data(file, entry.c_str(), entry.size(), G_KEY_FILE_NONE, nullptr)) {
    gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    gchar** argv = nullptr;
    if (exec != nullptr && g_shell_parse_argv(exec, nullptr, &argv, nullptr)) {
      for (gchar** a = argv; *a != nullptr; ++a) words.emplace_back(*a);
      g_strfreev(argv);
    }
    g_free(exec);
  }
  g_key_file_free(file);
  return words;
}

/// The words of a row from its field `from` on.
std::vector<std::string> argv(const test_support::Row& r, std::size_t from) {
  return {r.fields.begin() + static_cast<std::ptrdiff_t>(from), r.fields.end()};
}

TEST(ExecTest, AReaderGetsTheSameWordsBack) {
  for (const test_support::Row& r : test_support::rows("desktop/autostart.rows", "exec")) {
    const auto entry = autostartEntry(argv(r, 0));
    ASSERT_TRUE(entry) << r.where;
    EXPECT_EQ(execWords(*entry), argv(r, 0)) << r.where;
  }
}

TEST(ExecTest, DoublesPercentSignsAndRefusesControlCharacters) {
  for (const test_support::Row& r : test_support::rows("desktop/autostart.rows", "value")) {
    EXPECT_EQ(execValue(argv(r, 1)).value_or("-"), r[0]) << r.where;
  }
}

TEST(AutostartPathTest, FollowsTheBaseDirectoryRules) {
  for (const test_support::Row& r : test_support::rows("desktop/autostart.rows", "path")) {
    const auto orNull = [](const std::string& f) { return f == "-" ? nullptr : f.c_str(); };
    EXPECT_EQ(autostartPath(orNull(r[0]), orNull(r[1])).value_or("-"), r[2]) << r.where;
  }
}

class AutostartFileTest : public test_support::ScratchTest {};

TEST_F(AutostartFileTest, RecordsTheProgramAsRunWhenItIsTheFrontElseTheFront) {
  const fs::path front = write("ostrel-widgets", "");
  const fs::path other = write("other", "");
  fs::create_directories(dir_ / "bin");
  fs::create_symlink(front, dir_ / "bin" / "ow");
  fs::create_symlink(other, dir_ / "bin" / "ostrel-widgets-draw");
  const std::string path = "/nonexistent::" + (dir_ / "bin").string();
  for (const test_support::Row& r : test_support::rows("desktop/autostart.rows", "program")) {
    const std::string argv0 = r[0].starts_with("DIR/") ? (dir_ / r[0].substr(4)).string() : r[0];
    EXPECT_EQ(programToRecord(argv0, path, dir_, front), dir_ / r[1]) << r.where;
  }
}

}  // namespace
}  // namespace ostrel::desktop
