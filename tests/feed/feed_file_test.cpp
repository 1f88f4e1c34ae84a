#include "feed/feed_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/scratch.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

using FeedReason = decltype(FeedReport::reason);
const std::string kOn = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","cards":3})";

class FeedFileTest : public test_support::ScratchTest {};

/// How a document loads: a feed only at version 1 and switched on, off only if it also decodes.
TEST_F(FeedFileTest, LoadStates) {
  const std::string at = R"(,"at":"2026-03-02T10:00:00Z")";
  const std::pair<std::string, Loaded::Case> rows[] = {
      {kOn, Loaded::Case::feed},
      {R"({"v":1,"enabled":false)" + at + "}", Loaded::Case::off},
      {R"({"v":2,"enabled":true)" + at + "}", Loaded::Case::missing},
      {R"({"v":2,"enabled":false)" + at + "}", Loaded::Case::missing},
      {R"({"v":0,"enabled":true)" + at + "}", Loaded::Case::missing},
      {R"({"v":1,"enabled":false)" + at + R"(,"classes":[{"unit":"U","title":"T"}]})", Loaded::Case::missing},
      {R"({"v":1,"enabled":true,"at":"soon"})", Loaded::Case::missing},
      {"v=1", Loaded::Case::missing},
      {R"({"v":1,"enabled":true)" + at + R"(,"x":")" + std::string(3'000'000, 'a') + "\"}",
       Loaded::Case::feed},
  };
  for (const auto& [content, expected] : rows) {
    const Loaded got = FeedFile::load(write("widget.json", content));
    EXPECT_EQ(got.which(), expected) << content.substr(0, 80);
    EXPECT_EQ(got.sharedFeed() != nullptr, expected == Loaded::Case::feed);
  }
}

TEST_F(FeedFileTest, ReportsWhyItIsMissing) {
  fs::create_directory(dir_ / "folder.json");
  fs::create_symlink(dir_ / "nowhere.json", dir_ / "dangling.json");
  fs::create_symlink(write("real.json", kOn), dir_ / "link.json");
  const std::pair<fs::path, FeedReason> rows[] = {
      {dir_ / "absent.json", ReadError{"No such file or directory"}},
      {dir_ / "dangling.json", ReadError{"No such file or directory"}},
      {dir_ / "folder.json", ReadError{"Is a directory"}},
      {write("bad.json", R"({"v":1,"enabled":true,"at":""})"),
       DecodeError{DecodeErrorKind::notADate, "at", ""}},
      {write("v2.json", R"({"v":2,"enabled":true,"at":"2026-03-02T10:00:00Z"})"), OtherVersion{2}},
      {dir_ / "link.json", FeedReason{}},
  };
  for (const auto& [path, reason] : rows) EXPECT_EQ(FeedFile::inspect(path).reason, reason) << path;
}

TEST_F(FeedFileTest, UnreadableFileIsMissing) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const fs::path p = write("widget.json", kOn);
  fs::permissions(p, fs::perms::none);
  EXPECT_EQ(FeedFile::load(p).which(), Loaded::Case::missing);
}

TEST_F(FeedFileTest, FifoOrEndlessDeviceIsMissingWithoutReading) {
  const fs::path fifo = dir_ / "fifo.json";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir_ / "zero.json");
  for (const fs::path& p : {fifo, dir_ / "zero.json"}) {
    auto pending = std::async(std::launch::async, [p] { return FeedFile::inspect(p); });
    const bool finished = pending.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished) ::close(::open(p.c_str(), O_WRONLY | O_NONBLOCK));  // release a reader blocked on the FIFO
    EXPECT_TRUE(finished) << p;
    EXPECT_EQ(pending.get().reason, FeedReason{ReadError{"not a regular file"}}) << p;
  }
}

TEST(FeedFileUrl, HomeThenFixedPieces) {
  const fs::path p = FeedFile::locate(std::string("/h"), "/elsewhere");
  EXPECT_EQ(p.filename(), "widget.json");
  EXPECT_EQ(p.parent_path().filename(), "widgets");
  EXPECT_EQ(p.parent_path().parent_path().parent_path(), fs::path("/h/Library/Application Support"));
  EXPECT_EQ(FeedFile::locate(std::nullopt, "/elsewhere").string().rfind("/elsewhere/Library/", 0), 0u);
  // A present but empty home field is used as it is: the location is then relative.
  EXPECT_EQ(FeedFile::locate(std::string(""), "/elsewhere").string().rfind("Library/Application Support/", 0),
            0u);
}

}  // namespace
}  // namespace ostrel
