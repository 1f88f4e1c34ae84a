// The command as two executables: `ostrel-widgets` runs the subcommands that draw nothing without
// the drawing libraries and hands the rest to `ostrel-widgets-draw` beside it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;

using ostrel::cli_test::Outcome;

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

class HandOver : public ostrel::cli_test::CommandTest {};

TEST_F(HandOver, TheFrontLinksNoDrawingLibrary) {
  const std::string front = linkedLibraries(OSTREL_COMMAND);
  ASSERT_NE(front.find("libc.so"), std::string::npos) << front;
  for (const char* library :
       {"libcairo", "libpango", "libfontconfig", "libfreetype", "libharfbuzz", "libgtk"}) {
    EXPECT_EQ(front.find(library), std::string::npos) << library;
  }
  EXPECT_NE(linkedLibraries(fs::path(OSTREL_COMMAND).parent_path() / "ostrel-widgets-draw").find("libcairo"),
            std::string::npos);
}

// Drawing through the front is what every render and gallery test does; help is the drawing side's.
TEST_F(HandOver, HelpIsHandedOver) {
  const Outcome help = runArgs({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* sub : {"check", "timeline", "tree", "render", "gallery"}) {
    EXPECT_NE(help.out.find(sub), std::string::npos) << sub;
  }
}

// Without the drawing executable beside it, the front still runs what it holds and says plainly
// why it cannot draw.
TEST_F(HandOver, AMissingDrawingCommandIsTheEnvironment) {
  const fs::path alone = dir_ / "alone";
  fs::create_directory(alone);
  fs::copy_file(OSTREL_COMMAND, alone / "ostrel-widgets");
  const std::string command = (alone / "ostrel-widgets").string();
  const Outcome printing = spawn({command, "timeline", "--feed", "none.json", "--tz", "UTC", "--json"});
  EXPECT_EQ(printing.status, 0) << printing.err;
  const Outcome drawing = spawn({command, "gallery", "-o", "sheet.png"});
  EXPECT_EQ(drawing.status, 1);
  EXPECT_EQ(drawing.out, "");
  EXPECT_EQ(drawing.err, "ostrel-widgets: error: cannot run " + (alone / "ostrel-widgets-draw").string() +
                             ": No such file or directory\n");
}

}  // namespace
