#include "feed/feed_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "support/scratch.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

const std::string kOn = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","cards":3})";
const std::string kOff = R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z","classes":[]})";

using FeedReason = decltype(FeedReport::reason);

class FeedFileTest : public test_support::ScratchTest {};

struct StateRow {
  const char* name;
  std::string content;
  Loaded::Case expected;
};

class LoadStates : public FeedFileTest, public testing::WithParamInterface<StateRow> {};

TEST_P(LoadStates, ClassifiesTheDocument) {
  const Loaded got = FeedFile::load(write("widget.json", GetParam().content));
  EXPECT_EQ(got.which(), GetParam().expected) << GetParam().content;
  EXPECT_EQ(got.feedValue() != nullptr, GetParam().expected == Loaded::Case::feed);
  EXPECT_EQ(got.sharedFeed() != nullptr, GetParam().expected == Loaded::Case::feed);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, LoadStates,
    testing::Values(
        StateRow{"On", kOn, Loaded::Case::feed}, StateRow{"Off", kOff, Loaded::Case::off},
        StateRow{"Minimal", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z"})", Loaded::Case::feed},
        StateRow{"V2", R"({"v":2,"enabled":true,"at":"2026-03-02T10:00:00Z"})", Loaded::Case::missing},
        StateRow{"V2Off", R"({"v":2,"enabled":false,"at":"2026-03-02T10:00:00Z"})", Loaded::Case::missing},
        StateRow{"V0", R"({"v":0,"enabled":true,"at":"2026-03-02T10:00:00Z"})", Loaded::Case::missing},
        StateRow{"VMinus1", R"({"v":-1,"enabled":false,"at":"2026-03-02T10:00:00Z"})", Loaded::Case::missing},
        StateRow{"OffButUndecodable",
                 R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z","classes":[{"unit":"U",)"
                 R"("title":"T","end":"2026-03-02T12:00:00Z"}]})",
                 Loaded::Case::missing},
        StateRow{"AtNotADate", R"({"v":1,"enabled":true,"at":"soon"})", Loaded::Case::missing},
        StateRow{"Empty", "", Loaded::Case::missing}, StateRow{"NotJson", "v=1", Loaded::Case::missing},
        StateRow{"Big",
                 R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","x":")" + std::string(3'000'000, 'a') +
                     "\"}",
                 Loaded::Case::feed}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(FeedFileTest, ReportsWhyItIsMissing) {
  const auto absent = FeedFile::inspect(dir_ / "absent.json");
  EXPECT_EQ(absent.loaded.which(), Loaded::Case::missing);
  EXPECT_EQ(absent.reason, FeedReason{ReadError{"No such file or directory"}});

  fs::create_directory(dir_ / "widget.json");
  const auto directory = FeedFile::inspect(dir_ / "widget.json");
  EXPECT_EQ(directory.loaded.which(), Loaded::Case::missing);
  EXPECT_EQ(directory.reason, FeedReason{ReadError{"Is a directory"}});

  const auto bad = FeedFile::inspect(write("bad.json", R"({"v":1,"enabled":true,"at":""})"));
  EXPECT_EQ(bad.reason, FeedReason{(DecodeError{DecodeErrorKind::notADate, "at", ""})});

  const auto v2 =
      FeedFile::inspect(write("v2.json", R"({"v":2,"enabled":true,"at":"2026-03-02T10:00:00Z"})"));
  EXPECT_EQ(v2.reason, FeedReason{OtherVersion{2}});

  const auto on = FeedFile::inspect(write("on.json", kOn));
  EXPECT_EQ(on.reason, FeedReason{});
}

TEST_F(FeedFileTest, UnreadableFileIsMissing) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const fs::path p = write("widget.json", kOn);
  fs::permissions(p, fs::perms::none);
  EXPECT_EQ(FeedFile::load(p).which(), Loaded::Case::missing);
}

TEST_F(FeedFileTest, LinkToARegularFileIsFollowed) {
  const fs::path target = write("real.json", kOn);
  fs::create_symlink(target, dir_ / "widget.json");
  EXPECT_EQ(FeedFile::load(dir_ / "widget.json").which(), Loaded::Case::feed);
  fs::create_symlink(dir_ / "nowhere.json", dir_ / "dangling.json");
  EXPECT_EQ(FeedFile::load(dir_ / "dangling.json").which(), Loaded::Case::missing);
}

/// Loads on another thread and fails (instead of hanging) if that takes more than a few seconds.
FeedReport inspectWithin(const fs::path& p, bool& finished) {
  auto pending = std::async(std::launch::async, [p] { return FeedFile::inspect(p); });
  finished = pending.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  if (!finished) {
    // Release a reader blocked on a FIFO so that the test can end.
    const int fd = ::open(p.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  return pending.get();
}

TEST_F(FeedFileTest, FifoOrEndlessDeviceIsMissingWithoutReading) {
  const fs::path fifo = dir_ / "fifo.json";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path zero = dir_ / "zero.json";
  fs::create_symlink("/dev/zero", zero);
  for (const fs::path& p : {fifo, zero}) {
    bool finished = false;
    const auto r = inspectWithin(p, finished);
    EXPECT_TRUE(finished) << p;
    EXPECT_EQ(r.loaded.which(), Loaded::Case::missing) << p;
    EXPECT_EQ(r.reason, FeedReason{ReadError{"not a regular file"}}) << p;
  }
}

TEST_F(FeedFileTest, EachCallReadsAfresh) {
  const fs::path p = dir_ / "widget.json";
  write("widget.json", kOn);
  const Loaded first = FeedFile::load(p);
  write("widget.json", kOff);
  const Loaded second = FeedFile::load(p);
  fs::remove(p);
  const Loaded third = FeedFile::load(p);
  write("widget.json", R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","cards":4})");
  const Loaded fourth = FeedFile::load(p);
  EXPECT_EQ(first.which(), Loaded::Case::feed);
  EXPECT_EQ(first.feedValue()->cards, 3);
  EXPECT_EQ(second.which(), Loaded::Case::off);
  EXPECT_EQ(third.which(), Loaded::Case::missing);
  ASSERT_EQ(fourth.which(), Loaded::Case::feed);
  EXPECT_EQ(fourth.feedValue()->cards, 4);
}

TEST(FeedFileUrl, HomeThenFixedPieces) {
  const auto suffix = [](const fs::path& p) {
    const std::string s = p.string();
    const auto at = s.find("/Library/Application Support/");
    return at == std::string::npos ? std::string{} : s.substr(0, at);
  };
  EXPECT_EQ(suffix(FeedFile::locate(std::string("/home/ana"), "/elsewhere")), "/home/ana");
  EXPECT_EQ(suffix(FeedFile::locate(std::nullopt, "/elsewhere")), "/elsewhere");
  // A present but empty home field is used as it is: the location is then relative.
  EXPECT_EQ(FeedFile::locate(std::string(""), "/elsewhere").string().rfind("Library/Application Support/", 0),
            0u);
  const fs::path p = FeedFile::locate(std::string("/h"), nullptr);
  EXPECT_EQ(p.filename(), "widget.json");
  EXPECT_EQ(p.parent_path().filename(), "widgets");
  EXPECT_EQ(p.parent_path().parent_path().parent_path(), fs::path("/h/Library/Application Support"));
  EXPECT_FALSE(p.parent_path().parent_path().filename().empty());
}

TEST(FeedFileUrl, UserDatabaseComesFirst) {
  const passwd* pw = ::getpwuid(::getuid());
  if (pw == nullptr || pw->pw_dir == nullptr) GTEST_SKIP() << "no user record";
  EXPECT_EQ(FeedFile::url(), FeedFile::locate(std::string(pw->pw_dir), "/not-this"));
}

}  // namespace
}  // namespace ostrel
