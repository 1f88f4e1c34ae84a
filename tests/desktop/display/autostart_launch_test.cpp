// The autostart entry as session launchers read it, when the user ran the program through a
// symbolic link (as a package or a user's ~/bin puts it on PATH): GLib's desktop-entry reader and
// systemd's autostart generator both run the link, not what it pointed to at install time.
#include <gio/gdesktopappinfo.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "desktop/display/servers.hpp"
#include "support/process.hpp"
#include "support/scratch.hpp"

namespace ostrel::display_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGenerator = "/usr/lib/systemd/user-generators/systemd-xdg-autostart-generator";

class AutostartLaunchTest : public test_support::ScratchTest, public ::testing::WithParamInterface<bool> {};

TEST_P(AutostartLaunchTest, LaunchersRunTheLinkTheUserRan) {
  const bool byPath = GetParam();
  const fs::path link = dir_ / "bin" / "ostrel-widgets";
  fs::create_directories(link.parent_path());
  fs::create_symlink(OSTREL_COMMAND, link);
  const std::string path = (dir_ / "bin").string() + ":" + std::getenv("PATH");
  // `env` searches the PATH given here.
  ASSERT_EQ(runToEnd({"env", byPath ? "ostrel-widgets" : link.string(), "host", "--install-autostart"},
                     {{"PATH", path}, {"XDG_CONFIG_HOME", (dir_ / "config").string()}}, dir_ / "err"),
            0)
      << readFile(dir_ / "err");
  const fs::path entry = dir_ / "config" / "autostart" / "ostrel-widgets.desktop";

  GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(entry.c_str());
  ASSERT_NE(info, nullptr) << readFile(entry);
  EXPECT_EQ(std::string(g_app_info_get_executable(G_APP_INFO(info))), link.string());
  g_object_unref(info);

  OSTREL_NEED_PROGRAM(kGenerator);
  const fs::path units = dir_ / "units";
  fs::create_directories(units);
  ASSERT_EQ(runToEnd({kGenerator, units.string(), units.string(), units.string()},
                     {{"XDG_CONFIG_HOME", (dir_ / "config").string()}, {"XDG_CONFIG_DIRS", "/nonexistent"}}),
            0);
  const std::string unit = readFile(units / "app-ostrel\\x2dwidgets@autostart.service");
  EXPECT_NE(unit.find("ExecStart=:" + link.string() + " host "), std::string::npos) << unit;
}

INSTANTIATE_TEST_SUITE_P(RunAs, AutostartLaunchTest, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "NameOnPath" : "AbsoluteLink"; });

}  // namespace
}  // namespace ostrel::display_test
