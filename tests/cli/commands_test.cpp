// The command as a user runs it: each case of tests/data/cli/commands.txt is a command line and
// what it must print, write and return (the head of that file says how it reads).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "command.hpp"
#include "feed/feed_file.hpp"
#include "support/golden.hpp"

namespace ostrel::cli_test {
namespace {

namespace fs = std::filesystem;
using namespace test_support;

const fs::path kData = fs::path(OSTREL_SOURCE_DIR) / "tests/data/cli";

struct Case {
  int line = 0;
  std::string command;
  std::string out;                 ///< the whole of standard output, or
  std::string golden;              ///< the golden file that holds it, or
  std::vector<std::string> holds;  ///< parts of it
  int status = 0;
  std::string says;  ///< part of the error line
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << "commands.txt:" << c.line << ": " << c.command.substr(0, 200);
}

std::vector<Case> cases() {
  std::vector<Case> all;
  std::ifstream in(kData / "commands.txt");
  int n = 0;
  for (std::string l; std::getline(in, l);) {
    ++n;
    if (l.starts_with("$ ")) all.push_back({n, l.substr(2), "", "", {}, 0, ""});
    if (all.empty()) continue;
    if (l.starts_with(">")) all.back().out += l.substr(std::min<std::size_t>(2, l.size())) + "\n";
    if (l.starts_with("= ")) all.back().golden = l.substr(2);
    if (l.starts_with("~ ")) all.back().holds.push_back(l.substr(2));
    if (l.starts_with("! ")) all.back().status = std::stoi(l.substr(2));
    if (l.starts_with("! ")) all.back().says = l.substr(std::min(l.size(), l.find(' ', 2) + 1));
  }
  return all;
}

/// Every name in `dir` with its bytes (a regular file) or its type.
std::map<std::string, std::string> contents(const fs::path& dir) {
  std::map<std::string, std::string> all;
  for (const auto& e : fs::directory_iterator(dir)) {
    const fs::file_status s = e.symlink_status();
    all[e.path().filename().string()] = fs::is_regular_file(s) ? readBytes(e.path()).value_or("")
                                                               : std::to_string(static_cast<int>(s.type()));
  }
  return all;
}

class Commands : public CommandTest, public testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    fs::copy(kData / "files", dir_, fs::copy_options::recursive);
    fs::create_directory(dir_ / "folder.png");
    ASSERT_EQ(::mkfifo((dir_ / "fifo.png").c_str(), 0600), 0);
    fs::create_symlink("/dev/full", dir_ / "full.png");
    fs::create_directory_symlink(fs::path(OSTREL_SOURCE_DIR) / "examples", dir_ / "examples");
  }
};

/// `text` with {dir}, {bin} and {feed} spelled out.
std::string expected(std::string s, const fs::path& dir) {
  const std::pair<std::string, std::string> names[] = {
      {"{dir}", dir.string()},
      {"{bin}", fs::canonical(OSTREL_COMMAND).parent_path().string()},
      {"{feed}", FeedFile::url().string()}};
  for (const auto& [name, value] : names) {
    for (auto at = s.find(name); at != std::string::npos; at = s.find(name, at))
      s.replace(at, name.size(), value);
  }
  return s;
}

TEST_P(Commands, PrintsWritesAndReturnsWhatTheCaseSays) {
  const Case& c = GetParam();
  const auto before = contents(dir_);
  const Outcome r = runLine(c.command);
  EXPECT_EQ(r.status, c.status) << r.err.substr(0, 300);
  if (c.status != 0) {
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err.substr(0, 300);
    EXPECT_TRUE(r.err.starts_with("ostrel-widgets: error: ")) << r.err.substr(0, 300);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err.substr(0, 300);
    EXPECT_TRUE(contents(dir_) == before) << "the folder changed";
    return;
  }
  EXPECT_EQ(r.err, "");
  for (const std::string& part : c.holds)
    EXPECT_NE(r.out.find(expected(words(part).at(0), dir_)), std::string::npos) << r.out;
  if (c.golden.empty()) {
    EXPECT_TRUE(!c.holds.empty() || r.out == expected(c.out, dir_)) << r.out;
    return;
  }
  const fs::path golden = goldenPath("cli/" + c.golden);
  if (updatingGoldens()) {
    EXPECT_TRUE(writeBytes(golden, r.out));
    return;
  }
  const bool same = readBytes(golden) == r.out;
  if (!same) writeBytes(actualPath(golden), r.out);
  EXPECT_TRUE(same) << "not as " << golden << ": see " << actualPath(golden);
}

INSTANTIATE_TEST_SUITE_P(Table, Commands, testing::ValuesIn(cases()),
                         [](const auto& c) { return "line" + std::to_string(c.param.line); });

}  // namespace
}  // namespace ostrel::cli_test
