// The host under KWin (Plasma's compositor, virtual backend, one output at two pixels per point, on
// a bus of the test's), as KWin's own scripts see its windows: layer surfaces in their corner below
// every window, out of the switcher, taskbar and pager, on every desktop, never active.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <sstream>

#include "desktop/display/host_fixture.hpp"
#include "support/rows.hpp"

namespace ostrel::display_test {
namespace {

class KwinHostTest : public HostFixture {
 protected:
  /// One line per window, the JSON object `properties` of each, as KWin script number `n` prints it.
  std::vector<std::string> windows(const std::string& bus, int n, const std::string& properties) {
    const std::string name = "ostrel-windows-" + std::to_string(n), mark = name + " ";
    const std::filesystem::path script = dir_ / (name + ".js");
    std::ofstream(script) << "const all = workspace.clientList();\nfor (let i = 0; i < all.length; ++i) {\n"
                          << "  const w = all[i];\n  print(\"" << mark << "\" + JSON.stringify({"
                          << properties << "}));\n}\n";
    for (const std::vector<std::string>& call :
         {std::vector<std::string>{"loadScript", script, name}, {"start"}}) {
      std::vector<std::string> args{"--dest",     "org.kde.KWin", "--object-path",
                                    "/Scripting", "--method",     "org.kde.kwin.Scripting." + call[0]};
      args.insert(args.end(), call.begin() + 1, call.end());
      if (busCall(bus, args).empty()) return {};
    }
    std::vector<std::string> lines;  // printed to KWin's log as the script runs
    eventually(
        [&] {
          lines.clear();
          std::istringstream log(readFile(dir_ / "kwin.log"));
          for (std::string line; std::getline(log, line);) {
            if (line.find(mark) != std::string::npos)
              lines.push_back(line.substr(line.find(mark) + mark.size()));
          }
          return !lines.empty();
        },
        3);
    return lines;
  }
};

TEST_F(KwinHostTest, LayerSurfacesStandBelowWindowsInTheirCornerOnEveryDesktopNeverActive) {
  OSTREL_NEED_PROGRAM("kwin_wayland");
  OSTREL_NEED_PROGRAM("dbus-daemon");
  Bus bus;
  const Compositor kwin = Compositor::kwin(1280, 800, 2, dir_, bus.address());  // 640 × 400 points
  ASSERT_TRUE(bus.ok() && kwin.ok()) << readFile(dir_ / "kwin.log");
  std::map<std::string, std::string> env = kwin.env();
  env.emplace("DBUS_SESSION_BUS_ADDRESS", bus.address());
  Process host = startHost({"--corner", "bottom-left", "--scheme", "dark"}, env);
  std::vector<std::string> expected;
  for (const test_support::Row& row : test_support::rows("desktop/kwin_windows.tsv"))
    expected.push_back(row[0]);
  std::vector<std::string> found;
  int script = 0;
  EXPECT_TRUE(eventually(
      [&] {
        found = windows(bus.address(), script++,
                        "layer: w.layer, skipSwitcher: w.skipSwitcher, skipTaskbar: w.skipTaskbar, "
                        "skipPager: w.skipPager, onAllDesktops: w.onAllDesktops, active: w.active, x: w.x, "
                        "y: w.y, width: w.width, height: w.height");
        return found == expected;
      },
      30))
      << ::testing::PrintToString(found) << "\n"
      << readFile(dir_ / "kwin.log");
  EXPECT_EQ(host.stop(SIGTERM), 0);
  EXPECT_EQ(hostErrors(), "") << "layer-shell is there: nothing to say";
}

}  // namespace
}  // namespace ostrel::display_test
