// Runs the built command and compares its output line by line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
  std::string out;
  int status = -1;
};

/// Runs `ostrel-widgets <args>` through the shell; stdout only (stderr goes to `err` when asked).
Outcome command(const std::string& args, bool mergeStderr = false) {
  const std::string line =
      std::string("'") + OSTREL_COMMAND + "' " + args + (mergeStderr ? " 2>&1" : " 2>/dev/null");
  Outcome r;
  FILE* pipe = ::popen(line.c_str(), "r");
  if (pipe == nullptr) return r;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
  const int raw = ::pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

std::string quoted(const fs::path& p) {
  std::string out = "'";
  out += p.string();
  out += '\'';
  return out;
}

class CheckCommand : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ostrel-check-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path write(const std::string& content) {
    const fs::path p = dir_ / ("feed" + std::to_string(++files_) + ".json");
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  fs::path dir_;
  int files_ = 0;
};

struct Row {
  const char* name;
  std::string content;
  std::string expected;  // the whole output
};

class CheckStates : public CheckCommand, public testing::WithParamInterface<Row> {};

TEST_P(CheckStates, PrintsStateAndReason) {
  const Outcome r = command("check " + quoted(write(GetParam().content)));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, CheckStates,
    testing::Values(
        Row{"Feed", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z"})", "feed\n"},
        Row{"Off", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})", "off\n"},
        Row{"BadDate",
            R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","classes":[{"unit":"U","title":"T",)"
            R"("start":"2026-03-02T10:00:00Z","end":"2026-03-02T11:00:00Z"},{"unit":"U","title":"T",)"
            R"("start":"2026-03-02 10:00","end":"2026-03-02T11:00:00Z"}]})",
            "missing\nerror: classes[1].start: not a date: 2026-03-02 10:00\n"},
        Row{"DateWithNewline", R"({"v":1,"enabled":true,"at":"a\nb"})",
            "missing\nerror: at: not a date: a\\x0ab\n"},
        Row{"Absent", R"({"v":1,"at":"2026-03-02T10:00:00Z"})",
            "missing\nerror: enabled: required key is absent\n"},
        Row{"TopLevelArray", "[]", "missing\nerror: (document): expected an object\n"},
        Row{"OtherVersion", R"({"v":2,"enabled":false,"at":"2026-03-02T10:00:00Z"})",
            "missing\nerror: v: version 2 is not supported (only version 1)\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CheckCommand, NotJsonNamesTheDocument) {
  const Outcome r = command("check " + quoted(write("{\"v\":1,")));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("missing\nerror: (document): not valid JSON: ")) << r.out;
}

TEST_F(CheckCommand, UnreadableFiles) {
  const Outcome absent = command("check " + quoted(dir_ / "none.json"));
  EXPECT_EQ(absent.status, 0);
  EXPECT_EQ(absent.out,
            "missing\nerror: cannot read " + (dir_ / "none.json").string() + ": No such file or directory\n");

  const Outcome directory = command("check " + quoted(dir_));
  EXPECT_EQ(directory.out, "missing\nerror: cannot read " + dir_.string() + ": Is a directory\n");

  const fs::path fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Outcome pipe = command("check --feed " + quoted(fifo));
  EXPECT_EQ(pipe.status, 0);
  EXPECT_EQ(pipe.out, "missing\nerror: cannot read " + fifo.string() + ": not a regular file\n");
}

TEST_F(CheckCommand, BundledExampleIsAFeed) {
  const Outcome r = command("check " + quoted(fs::path(OSTREL_SOURCE_DIR) / "examples/widget.json"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "feed\n");
}

TEST_F(CheckCommand, DefaultsToTheFixedLocation) {
  const Outcome r = command("check");  // the user database's home, not this test's files
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("missing\nerror: cannot read ") || r.out == "feed\n" || r.out == "off\n")
      << r.out;
  if (r.out.starts_with("missing\nerror: cannot read ")) {
    EXPECT_NE(r.out.find("/Library/Application Support/"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("/widgets/widget.json: "), std::string::npos) << r.out;
  }
}

TEST_F(CheckCommand, BadArgumentsExitTwoWithOneLine) {
  for (const std::string args : {"check a b", "check --bogus", "check --feed"}) {
    const Outcome r = command(args, true);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << args << ": " << r.out;
  }
}

TEST_F(CheckCommand, HelpExplainsEachState) {
  const Outcome r = command("check --help");
  EXPECT_EQ(r.status, 0);
  for (const char* word :
       {"feed ", "off ", "missing ", "error: PATH: MESSAGE", "error: cannot read FILE: REASON"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
