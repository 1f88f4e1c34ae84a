// The command as two executables: `ostrel-widgets` runs the subcommands that draw nothing without
// the drawing libraries, answers --help, --version and unknown subcommands itself, and hands the
// rest to `ostrel-widgets-draw`, beside it in the build tree and in LIBEXECDIR/ostrel-widgets/ when
// installed. (That the front loads no drawing library is a case of tests/data/cli/commands.txt.)
#include <gtest/gtest.h>

#include <regex>

#include "command.hpp"
#include "support/golden.hpp"

namespace ostrel::cli_test {
namespace {

namespace fs = std::filesystem;

// Alone, the front still answers what it holds: --version, --help (the drawing program's list of
// subcommands, word for word), an unknown subcommand, the subcommands that draw nothing; for the
// others it says plainly where the drawing program should be. Laid out as installed, each program
// finds the other: the front hands drawing to the program off PATH, and that program writes the
// front's path into the autostart entry.
TEST_F(CommandTest, TheFrontAloneAnswersWhatItHoldsAndLaidOutAsInstalledFindsTheDrawingProgram) {
  const fs::path drawing = fs::path(OSTREL_COMMAND).parent_path() / "ostrel-widgets-draw";
  const fs::path front = dir_ / "alone/bin/ostrel-widgets";
  const fs::path libexec = (front.parent_path() / OSTREL_DRAW_FROM_FRONT).lexically_normal();
  fs::create_directories(front.parent_path());
  fs::copy_file(OSTREL_COMMAND, front);
  const std::regex version(R"(ostrel-widgets \d+\.\d+\.\d+( \(git [0-9a-f]{7,}\))?\n)");
  EXPECT_TRUE(std::regex_match(run({front, "--version"}).out, version));
  const Outcome help = run({front, "--help"});
  EXPECT_NE(help.out.find("\n  host "), std::string::npos) << help.out;
  EXPECT_EQ(help.out, run({drawing, "--help"}).out);
  EXPECT_EQ(run({front, "draw"}).status, 2);
  EXPECT_EQ(run({front, "timeline", "--feed", "none.json", "--tz", "UTC"}).status, 0);
  const Outcome alone = run({front, "gallery", "-o", "sheet.png"});
  EXPECT_EQ(alone.status, 1);
  EXPECT_EQ(alone.err, "ostrel-widgets: error: cannot run " + (libexec / "ostrel-widgets-draw").string() +
                           ": No such file or directory\n");

  fs::create_directories(libexec);
  fs::copy_file(drawing, libexec / "ostrel-widgets-draw");
  const Outcome drawn = run({front, "render", "--kind", "NextUp", "--family", "systemSmall", "--sample",
                             "--now", "2026-03-02T08:15:30Z", "-o", "face.svg"});
  EXPECT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_TRUE(fs::is_regular_file(dir_ / "face.svg"));
  ASSERT_EQ(run({front, "host", "--install-autostart"}).status, 0);
  const std::string entry =
      test_support::readBytes(dir_ / "config/autostart/ostrel-widgets.desktop").value_or("");
  EXPECT_NE(entry.find("Exec=" + front.string() + " host"), std::string::npos) << entry;
}

}  // namespace
}  // namespace ostrel::cli_test
