// The command under bad use: malformed invocations of every subcommand and outputs that cannot be
// written. Each gives one line on standard error, nothing on standard output, the documented status
// (2 for usage, 1 for the environment) and no file left behind: never a crash, a hang or a part.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command.hpp"

namespace {

namespace fs = std::filesystem;

using ostrel::cli_test::Outcome;

using Args = std::vector<std::string>;

constexpr int kUsage = 2;
constexpr int kEnvironment = 1;

struct Row {
  const char* name;
  Args args;
  int status;
  std::string says;  ///< part of the error line
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

const std::string kSubcommands = "check, timeline, entry, snapshot, placeholder, tree, render, gallery";

Args face(Args more) {
  Args a{"render", "--kind", "NextUp", "--family", "systemSmall", "--feed", "off.json"};
  a.insert(a.end(), more.begin(), more.end());
  return a;
}

Args tree(Args more) {
  Args a{"tree", "--kind", "NextUp", "--family", "systemSmall", "--feed", "off.json"};
  a.insert(a.end(), more.begin(), more.end());
  return a;
}

class BadUse : public ostrel::cli_test::CommandTest, public testing::WithParamInterface<Row> {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    // A feed that is switched off, so that faces are drawn whatever the machine's feed holds; an
    // existing face that a failed write must leave whole; a folder and a FIFO named like outputs.
    write("off.json", R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z"})");
    write("old.png", "old face");
    fs::create_directory(dir_ / "folder.png");
    ASSERT_EQ(::mkfifo((dir_ / "fifo.png").c_str(), 0600), 0);
    fs::create_symlink("/dev/full", dir_ / "full.png");
  }

  /// One line on stderr starting with the command's error prefix, nothing on stdout, and nothing
  /// written or left half-written in the directory.
  void expectOneLineRefusal(const Outcome& r, int status, const std::string& says) {
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err.substr(0, 300);
    EXPECT_TRUE(r.err.starts_with("ostrel-widgets: error: ")) << r.err.substr(0, 300);
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err.substr(0, 300);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"fifo.png", "folder.png", "full.png", "off.json", "old.png"}));
    std::ifstream old(dir_ / "old.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "old face");
  }
};

TEST_P(BadUse, OneLineDocumentedStatusNothingWritten) {
  expectOneLineRefusal(runArgs(GetParam().args), GetParam().status, GetParam().says);
}

INSTANTIATE_TEST_SUITE_P(
    Invocations, BadUse,
    testing::Values(
        // Subcommands.
        Row{"NoSubcommand", {}, kUsage, "a subcommand is required: " + kSubcommands},
        Row{"UnknownSubcommand",
            {"bogus"},
            kUsage,
            "unknown subcommand: bogus (the subcommands are " + kSubcommands},
        Row{"UnknownOptionFirst", {"--bogus", "check"}, kUsage, "unknown option --bogus"},
        Row{"ControlCharactersEscaped", {"bo\ngus\x1b[2J"}, kUsage, "unknown subcommand: bo\\x0agus\\x1b[2J"},
        // check
        Row{"CheckSubcommandAsFile",
            {"check", "timeline"},
            kUsage,
            "check: there is no file named timeline (for the subcommand, run: ostrel-widgets timeline)"},
        Row{"CheckTwoFiles", {"check", "a", "b"}, kUsage, "not expected: b"},
        Row{"CheckUnknownOption", {"check", "--bogus"}, kUsage, "--bogus"},
        Row{"CheckMissingValue", {"check", "--feed"}, kUsage, "--feed"},
        Row{"CheckHasNoJson", {"check", "--json"}, kUsage, "--json"},
        // timeline, entry, snapshot, placeholder
        Row{"NowNotADate", {"timeline", "--now", "yesterday"}, kUsage, "yesterday"},
        Row{"NowWithoutZone", {"timeline", "--now", "2026-03-02T10:00:30"}, kUsage, "2026-03-02T10:00:30"},
        Row{"NowMissingValue", {"timeline", "--now"}, kUsage, "--now"},
        Row{"UnknownZone", {"timeline", "--tz", "Mars/Base"}, kUsage, "unknown time zone: Mars/Base"},
        Row{"EmptyZone", {"placeholder", "--tz", ""}, kUsage, "unknown time zone"},
        Row{"TimelineHasNoLocale", {"timeline", "--locale", "en_AU"}, kUsage, "--locale"},
        Row{"TimelineHasNoPreview", {"timeline", "--preview"}, kUsage, "--preview"},
        Row{"EntryNeedsAt", {"entry"}, kUsage, "--at"},
        Row{"EntryBadMonth", {"entry", "--at", "2026-13-02T10:00:00Z"}, kUsage, "2026-13-02T10:00:00Z"},
        Row{"EntryHasNoNow",
            {"entry", "--at", "2026-03-02T10:00:00Z", "--now", "2026-03-02T10:00:00Z"},
            kUsage,
            "--now"},
        Row{"SnapshotHasNoLocale", {"snapshot", "--locale", "en_AU"}, kUsage, "--locale"},
        Row{"PlaceholderReadsNoFeed", {"placeholder", "--feed", "off.json"}, kUsage, "--feed"},
        // tree
        Row{"UnknownKind", {"tree", "--kind", "Later", "--family", "systemSmall"}, kUsage, "Later"},
        Row{"UnknownFamily", {"tree", "--kind", "NextUp", "--family", "systemHuge"}, kUsage, "systemHuge"},
        Row{"FamilyNotOffered",
            {"tree", "--kind", "NextUp", "--family", "systemLarge"},
            kUsage,
            "NextUp is not offered in systemLarge; it offers systemSmall, systemMedium"},
        Row{"DueSoonNotSmall",
            {"tree", "--kind", "DueSoon", "--family", "systemSmall"},
            kUsage,
            "DueSoon is not offered in systemSmall; it offers systemMedium, systemLarge"},
        Row{"UnknownLocale", tree({"--locale", "klingon"}), kUsage, "unknown locale: klingon"},
        Row{"UnknownScheme", tree({"--scheme", "sepia"}), kUsage, "sepia"},
        Row{"UnknownSystemVersion", tree({"--macos", "12"}), kUsage, "12"},
        Row{"TreeHasNoOutput", tree({"-o", "face.png"}), kUsage, "-o"},
        // render and gallery: usage
        Row{"RenderHasNoJson", face({"--json", "-o", "face.png"}), kUsage, "--json"},
        Row{"RenderNeedsOutput", face({}), kUsage, "--output"},
        Row{"UnknownFormat", face({"-o", "face.jpg"}), kUsage,
            "unknown output format: face.jpg (use .png or .svg)"},
        Row{"ScaleZero", face({"--scale", "0", "-o", "face.png"}), kUsage, "--scale"},
        Row{"ScaleNegative", face({"--scale", "-2", "-o", "face.png"}), kUsage, "--scale"},
        Row{"ScaleNaN", face({"--scale", "nan", "-o", "face.png"}), kUsage, "--scale"},
        Row{"ScaleInfinite", face({"--scale", "inf", "-o", "face.png"}), kUsage, "--scale"},
        Row{"ScaleEnormous", face({"--scale", "1e400", "-o", "face.png"}), kUsage, "--scale"},
        Row{"ScaleTooLarge", face({"--scale", "17", "-o", "face.png"}), kUsage, "--scale"},
        Row{"ScaleNotANumber", face({"--scale", "2x", "-o", "face.png"}), kUsage, "--scale"},
        Row{"GalleryUnknownFormat",
            {"gallery", "--feed", "off.json", "-o", "sheet"},
            kUsage,
            "unknown output format: sheet (use .png or .svg)"},
        Row{"GalleryUnknownZone", {"gallery", "--tz", "Nowhere/Special"}, kUsage, "Nowhere/Special"},
        Row{"GalleryHasNoJson", {"gallery", "--json"}, kUsage, "--json"},
        // render and gallery: the environment
        Row{"MissingFolder", face({"-o", "no/such/face.png"}), kEnvironment,
            "cannot write no/such/face.png: No such file or directory"},
        Row{"UnwritableFolder", face({"-o", "/sys/face.png"}), kEnvironment,
            "cannot write /sys/face.png: Permission denied"},
        Row{"FullDevice", face({"-o", "/dev/full"}), kUsage, "unknown output format: /dev/full"},
        Row{"LinkToAFullDevice", face({"-o", "full.png"}), kEnvironment,
            "cannot write full.png: not a regular file"},
        Row{"OntoAFolder", face({"-o", "folder.png"}), kEnvironment,
            "cannot write folder.png: not a regular file"},
        Row{"OntoAFifo", face({"-o", "fifo.png"}), kEnvironment, "cannot write fifo.png: not a regular file"},
        Row{"PathWithNewline", face({"-o", "no\nsuch/face.png"}), kEnvironment,
            "cannot write no\\x0asuch/face.png: "},
        Row{"GalleryOntoAFolder",
            {"gallery", "--feed", "off.json", "--scale", "0.25", "-o", "folder.png"},
            kEnvironment,
            "cannot write folder.png: not a regular file"},
        // Arguments as long as the system passes (one argument may hold 128 KiB), and a megabyte of them.
        Row{"LongZone", {"timeline", "--tz", std::string(131'000, 'Z')}, kUsage, "unknown time zone: ZZZ"},
        Row{"LongInstant", {"entry", "--at", std::string(131'000, '9')}, kUsage, "999"},
        Row{"LongOutputName", face({"-o", std::string(131'000, 'f') + ".png"}), kEnvironment,
            "File name too long"},
        Row{"MegabyteOfArguments", Args(9, std::string(120'000, 'a')), kUsage, "unknown subcommand: aaa"}),
    [](const auto& row) { return std::string(row.param.name); });

// A write that fails part-way (here at the file-size limit; a full disk fails the same way) leaves
// the old file whole and no temporary file behind.
TEST_F(BadUse, AFailedWriteLeavesTheOldFileWhole) {
  const Outcome r = runArgs(face({"-o", "old.png"}), {"prlimit", "--fsize=4096"});
  expectOneLineRefusal(r, kEnvironment, "cannot write old.png: File too large");
  EXPECT_EQ(temporaryFiles(), std::vector<std::string>{});
}

TEST_F(BadUse, AMissingFontIsTheEnvironment) {
  write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  const Outcome r =
      runArgs(face({"-o", "face.png"}), {}, {"FONTCONFIG_FILE=" + (dir_ / "fonts.conf").string()});
  fs::remove(dir_ / "fonts.conf");
  expectOneLineRefusal(r, kEnvironment, "font not found: ");
}

// What was printed must reach standard output: a full device is a failure, not a success.
TEST_F(BadUse, AFullStandardOutputIsTheEnvironment) {
  const Outcome r = run("timeline --feed off.json >/dev/full");
  expectOneLineRefusal(r, kEnvironment, "cannot write standard output");
}

}  // namespace
