// The command as two executables: `ostrel-widgets` runs the subcommands that draw nothing without
// the drawing libraries, answers --help, --version and unknown subcommands itself, and hands the
// rest to `ostrel-widgets-draw`, beside it in the build tree and in LIBEXECDIR/ostrel-widgets/ when
// installed.
#include <gtest/gtest.h>

#include <regex>

#include "command.hpp"
#include "support/golden.hpp"

namespace ostrel::cli_test {
namespace {

namespace fs = std::filesystem;
using test_support::capture;

const fs::path kDrawing = fs::path(OSTREL_COMMAND).parent_path() / "ostrel-widgets-draw";

class HandOver : public CommandTest {
 protected:
  /// A copy of the front alone in a folder: no drawing program anywhere it looks.
  [[nodiscard]] fs::path frontAlone() const {
    fs::create_directories(dir_ / "alone/bin");
    fs::copy_file(OSTREL_COMMAND, dir_ / "alone/bin/ostrel-widgets");
    return dir_ / "alone/bin/ostrel-widgets";
  }
};

TEST_F(HandOver, TheFrontLinksNoDrawingLibrary) {
  const std::string front = capture({"ldd", OSTREL_COMMAND}, {}).out;
  ASSERT_NE(front.find("libc.so"), std::string::npos) << front;
  for (const char* library :
       {"libcairo", "libpango", "libfontconfig", "libfreetype", "libharfbuzz", "libgtk"}) {
    EXPECT_EQ(front.find(library), std::string::npos) << library;
  }
  EXPECT_NE(capture({"ldd", kDrawing.string()}, {}).out.find("libcairo"), std::string::npos);
}

// Without the drawing program, the front still answers what it holds: --version, --help (the drawing
// program's list of subcommands, word for word), an unknown subcommand, the subcommands that draw
// nothing; for the others it says plainly where the drawing program should be.
TEST_F(HandOver, TheFrontAloneAnswersWhatItHolds) {
  const std::string front = frontAlone().string();
  const std::regex version(R"(ostrel-widgets \d+\.\d+\.\d+( \(git [0-9a-f]{7,}\))?\n)");
  EXPECT_TRUE(std::regex_match(run({front, "--version"}).out, version));
  const Outcome help = run({front, "--help"});
  EXPECT_NE(help.out.find("\n  host "), std::string::npos) << help.out;
  EXPECT_EQ(help.out, run({kDrawing.string(), "--help"}).out);
  EXPECT_EQ(run({front, "draw"}).status, 2);
  EXPECT_EQ(run({front, "timeline", "--feed", "none.json", "--tz", "UTC"}).status, 0);
  const Outcome drawing = run({front, "gallery", "-o", "sheet.png"});
  EXPECT_EQ(drawing.status, 1);
  const fs::path installed = fs::path(front).parent_path() / OSTREL_DRAW_FROM_FRONT / "ostrel-widgets-draw";
  EXPECT_EQ(drawing.err, "ostrel-widgets: error: cannot run " + installed.lexically_normal().string() +
                             ": No such file or directory\n");
}

// Laid out as installed, each program finds the other: the front hands drawing to the program off
// PATH, and that program writes the front's path into the autostart entry.
TEST_F(HandOver, TheInstalledLayoutFindsBothWays) {
  const fs::path front = frontAlone();
  const fs::path libexec = front.parent_path() / OSTREL_DRAW_FROM_FRONT;
  fs::create_directories(libexec);
  fs::copy_file(kDrawing, libexec / "ostrel-widgets-draw");
  const Outcome drawn = run({front.string(), "render", "--kind", "NextUp", "--family", "systemSmall",
                             "--sample", "--now", "2026-03-02T08:15:30Z", "-o", "face.svg"});
  EXPECT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_TRUE(fs::is_regular_file(dir_ / "face.svg"));
  const Outcome autostart =
      run({front.string(), "host", "--install-autostart"}, {{"XDG_CONFIG_HOME", (dir_ / "config").string()}});
  ASSERT_EQ(autostart.status, 0) << autostart.err;
  const std::string text =
      test_support::readBytes(dir_ / "config/autostart/ostrel-widgets.desktop").value_or("");
  EXPECT_NE(text.find("Exec=" + front.string() + " host"), std::string::npos) << text;
}

}  // namespace
}  // namespace ostrel::cli_test
