// Runs the built command and compares its output line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "command.hpp"

namespace {

using ostrel::cli_test::Outcome;
using ostrel::cli_test::quoted;
namespace fs = std::filesystem;

class CheckCommand : public ostrel::cli_test::CommandTest {};

struct Row {
  const char* name;
  std::string content;
  std::string expected;  // the whole output
};

class CheckStates : public CheckCommand, public testing::WithParamInterface<Row> {};

// The first line is the state, then the path read.
TEST_P(CheckStates, PrintsStateAndReason) {
  const fs::path path = write(GetParam().content);
  const Outcome r = run("check " + quoted(path));
  EXPECT_EQ(r.status, 0);
  const std::string& e = GetParam().expected;
  const auto firstLine = e.find('\n');
  EXPECT_EQ(r.out, e.substr(0, firstLine) + "  " + path.string() + e.substr(firstLine));
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
        Row{"Absent", R"({"v":1,"at":"2026-03-02T10:00:00Z"})", "missing\nerror: enabled: missing key\n"},
        Row{"TopLevelArray", "[]",
            "missing\nerror: (document): wrong type: expected an object, found an array\n"},
        Row{"CardsBeyond64Bits",
            R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","cards":1267650600228229401496703205376})",
            "missing\nerror: cards: out of range: beyond the signed 64-bit range\n"},
        Row{"OtherVersion", R"({"v":2,"enabled":false,"at":"2026-03-02T10:00:00Z"})",
            "missing\nerror: v: version 2 is not supported (only version 1)\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CheckCommand, NotJsonNamesTheDocument) {
  const fs::path path = write("{\"v\":1,");
  const Outcome r = run("check " + quoted(path));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("missing  " + path.string() + "\nerror: (document): malformed JSON: "))
      << r.out;
}

// Why a file cannot be read (a directory, a FIFO) is the feed file's, tested there; here its line.
TEST_F(CheckCommand, AnUnreadableFileSaysWhy) {
  const Outcome absent = run("check " + quoted(dir_ / "none.json"));
  EXPECT_EQ(absent.status, 0);
  const std::string path = (dir_ / "none.json").string();
  EXPECT_EQ(absent.out,
            "missing  " + path + "\nerror: cannot read " + path + ": No such file or directory\n");
}

TEST_F(CheckCommand, BundledExampleIsAFeed) {
  const fs::path example = fs::path(OSTREL_SOURCE_DIR) / "examples/widget.json";
  const Outcome r = run("check " + quoted(example));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "feed  " + example.string() + "\n");
}

TEST_F(CheckCommand, DefaultsToTheFixedLocation) {
  const Outcome r = run("check");  // the user database's home, not this test's files
  EXPECT_EQ(r.status, 0);
  const std::regex first(
      R"((feed|off|missing)  /.*/Library/Application Support/[^/]+/widgets/widget\.json\n(.|\n)*)");
  EXPECT_TRUE(std::regex_match(r.out, first)) << r.out;
}

TEST_F(CheckCommand, HelpExplainsEachState) {
  const Outcome r = run("check --help");
  EXPECT_EQ(r.status, 0);
  for (const char* word :
       {"feed ", "off ", "missing ", "error: PATH: KIND[: DETAIL]", "error: cannot read FILE: REASON"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
