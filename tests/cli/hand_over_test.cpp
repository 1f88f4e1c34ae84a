// The command as two executables: `ostrel-widgets` runs the subcommands that draw nothing without
// the drawing libraries, answers --help, --version and unknown subcommands itself, and hands the
// rest to `ostrel-widgets-draw`, beside it in the build tree and in LIBEXECDIR/ostrel-widgets/ when
// installed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;

using ostrel::cli_test::Outcome;

const fs::path kDrawing = fs::path(OSTREL_COMMAND).parent_path() / "ostrel-widgets-draw";

/// The shared libraries `ldd` lists for `program`.
std::string linkedLibraries(const fs::path& program) {
  std::string out;
  FILE* pipe = ::popen(("ldd '" + program.string() + "'").c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  ::pclose(pipe);
  return out;
}

class HandOver : public ostrel::cli_test::CommandTest {
 protected:
  /// A copy of the front alone in a folder: no drawing program anywhere it looks.
  fs::path frontAlone() const {
    const fs::path bin = dir_ / "alone" / "bin";
    fs::create_directories(bin);
    fs::copy_file(OSTREL_COMMAND, bin / "ostrel-widgets");
    return bin / "ostrel-widgets";
  }
};

TEST_F(HandOver, TheFrontLinksNoDrawingLibrary) {
  const std::string front = linkedLibraries(OSTREL_COMMAND);
  ASSERT_NE(front.find("libc.so"), std::string::npos) << front;
  for (const char* library :
       {"libcairo", "libpango", "libfontconfig", "libfreetype", "libharfbuzz", "libgtk"}) {
    EXPECT_EQ(front.find(library), std::string::npos) << library;
  }
  EXPECT_NE(linkedLibraries(kDrawing).find("libcairo"), std::string::npos);
}

struct OwnAnswer {
  std::vector<std::string> args;
  int status;
  std::string out;  ///< a regular expression the whole of standard output matches
  std::string err;  ///< likewise for standard error
};

class FrontAnswers : public HandOver, public ::testing::WithParamInterface<OwnAnswer> {};

// What the front answers itself it answers with no drawing program to hand the line to.
TEST_P(FrontAnswers, WithoutTheDrawingProgram) {
  std::vector<std::string> argv{frontAlone().string()};
  argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
  const Outcome r = spawn(argv);
  EXPECT_EQ(r.status, GetParam().status) << r.err;
  EXPECT_TRUE(std::regex_match(r.out, std::regex(GetParam().out))) << r.out;
  EXPECT_TRUE(std::regex_match(r.err, std::regex(GetParam().err))) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrontAnswers,
    ::testing::Values(
        OwnAnswer{{"--version"}, 0, R"(ostrel-widgets \d+\.\d+\.\d+( \(git [0-9a-f]{7,}\))?\n)", ""},
        OwnAnswer{{"--help"}, 0, R"(ostrel-widgets: [^]*\n  render +Draw [^]*\n  host +Show [^]*)", ""},
        OwnAnswer{{"draw"},
                  2,
                  "",
                  "ostrel-widgets: error: unknown subcommand: draw \\(the subcommands are "
                  "check, timeline, entry, snapshot, placeholder, tree, render, gallery, "
                  "watch, host\\)\n"},
        OwnAnswer{{"--gallery"}, 2, "", "ostrel-widgets: error: unknown option --gallery [^\n]*\n"},
        OwnAnswer{{}, 2, "", "ostrel-widgets: error: a subcommand is required: [^\n]*\n"}));

// The front's list of subcommands is the drawing program's, word for word.
TEST_F(HandOver, HelpListsWhatTheDrawingProgramRuns) {
  const Outcome front = spawn({frontAlone().string(), "--help"});
  const Outcome drawing = spawn({kDrawing.string(), "--help"});
  EXPECT_EQ(drawing.status, 0);
  EXPECT_EQ(front.out, drawing.out);
}

// Without the drawing program, the front still runs what it holds and says plainly why it cannot
// draw, naming the place the drawing program is installed.
TEST_F(HandOver, AMissingDrawingCommandIsTheEnvironment) {
  const fs::path front = frontAlone();
  const Outcome printing =
      spawn({front.string(), "timeline", "--feed", "none.json", "--tz", "UTC", "--json"});
  EXPECT_EQ(printing.status, 0) << printing.err;
  const Outcome drawing = spawn({front.string(), "gallery", "-o", "sheet.png"});
  EXPECT_EQ(drawing.status, 1);
  EXPECT_EQ(drawing.out, "");
  const fs::path installed =
      (front.parent_path() / OSTREL_DRAW_FROM_FRONT / "ostrel-widgets-draw").lexically_normal();
  EXPECT_EQ(drawing.err,
            "ostrel-widgets: error: cannot run " + installed.string() + ": No such file or directory\n");
}

// Laid out as installed, each program finds the other: the front hands drawing to the program off
// PATH, and that program writes the front's path into the autostart entry.
TEST_F(HandOver, TheInstalledLayoutFindsBothWays) {
  const fs::path front = frontAlone();
  const fs::path libexec = front.parent_path() / OSTREL_DRAW_FROM_FRONT;
  fs::create_directories(libexec);
  fs::copy_file(kDrawing, libexec / "ostrel-widgets-draw");
  const Outcome drawn = spawn({front.string(), "render", "--kind", "NextUp", "--family", "systemSmall",
                               "--sample", "--now", "2026-03-02T08:15:30Z", "-o", "face.svg"});
  EXPECT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_TRUE(fs::is_regular_file(dir_ / "face.svg"));
  const Outcome autostart = spawn({front.string(), "host", "--install-autostart"},
                                  {"XDG_CONFIG_HOME=" + (dir_ / "config").string()});
  ASSERT_EQ(autostart.status, 0) << autostart.err;
  std::ifstream entry(dir_ / "config" / "autostart" / "ostrel-widgets.desktop");
  const std::string text{std::istreambuf_iterator<char>(entry), {}};
  EXPECT_NE(text.find("Exec=" + front.string() + " host"), std::string::npos) << text;
}

}  // namespace
