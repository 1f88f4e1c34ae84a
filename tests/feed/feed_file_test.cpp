#include "feed/feed_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/scratch.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

const std::string kOn = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","cards":3})";

class FeedFileTest : public test_support::ScratchTest {};

/// How a file loads, and why it is missing: a feed only at version 1 and on, off only if it decodes;
/// a FIFO or an endless device is not read (each inspection must end within seconds).
TEST_F(FeedFileTest, LoadStatesAndReasons) {
  using C = Loaded::Case;
  const std::string at = R"(,"at":"2026-03-02T10:00:00Z")";
  fs::create_directory(dir_ / "folder.json");
  fs::create_symlink(dir_ / "nowhere.json", dir_ / "dangling.json");
  fs::create_symlink(write("real.json", kOn), dir_ / "link.json");
  fs::create_symlink("/dev/zero", dir_ / "zero.json");
  ASSERT_EQ(::mkfifo((dir_ / "fifo.json").c_str(), 0600), 0);
  const std::tuple<fs::path, C, decltype(FeedReport::reason)> rows[] = {
      {write("on.json", kOn), C::feed, {}},
      {dir_ / "link.json", C::feed, {}},
      {write("off.json", R"({"v":1,"enabled":false)" + at + "}"), C::off, {}},
      {write("v2.json", R"({"v":2,"enabled":true)" + at + "}"), C::missing, OtherVersion{2}},
      {write("v2off.json", R"({"v":2,"enabled":false)" + at + "}"), C::missing, OtherVersion{2}},
      {write("v0.json", R"({"v":0,"enabled":true)" + at + "}"), C::missing, OtherVersion{0}},
      {write("bad.json", R"({"v":1,"enabled":false)" + at + R"(,"classes":[{"unit":"U","title":"T"}]})"),
       C::missing, DecodeError{DecodeErrorKind::missingKey, "classes[0].start", ""}},
      {write("soon.json", R"({"v":1,"enabled":true,"at":"soon"})"), C::missing,
       DecodeError{DecodeErrorKind::notADate, "at", "soon"}},
      {write("big.json", R"({"v":1,"enabled":true)" + at + R"(,"x":")" + std::string(3'000'000, 'a') + "\"}"),
       C::feed,
       {}},
      {dir_ / "absent.json", C::missing, ReadError{"No such file or directory"}},
      {dir_ / "dangling.json", C::missing, ReadError{"No such file or directory"}},
      {dir_ / "folder.json", C::missing, ReadError{"Is a directory"}},
      {dir_ / "fifo.json", C::missing, ReadError{"not a regular file"}},
      {dir_ / "zero.json", C::missing, ReadError{"not a regular file"}},
  };
  for (const auto& [path, which, reason] : rows) {
    auto pending = std::async(std::launch::async, [p = path] { return FeedFile::inspect(p); });
    const bool finished = pending.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished)
      ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));  // release a reader blocked on a FIFO
    ASSERT_TRUE(finished) << path;
    const FeedReport got = pending.get();
    EXPECT_EQ(got.loaded.which(), which) << path;
    EXPECT_EQ(got.reason, reason) << path;
    EXPECT_TRUE(which != C::feed || FeedFile::load(path).sharedFeed() != nullptr) << path;
  }
}

TEST(FeedFileUrl, UserDatabaseHomeFirstThenFixedPieces) {
  const fs::path p = FeedFile::locate(std::string("/h"), "/elsewhere");
  const fs::path app = p.parent_path().parent_path().filename();
  EXPECT_EQ(p, fs::path("/h/Library/Application Support") / app / "widgets/widget.json");
  EXPECT_EQ(FeedFile::locate(std::nullopt, "/e"),
            fs::path("/e/Library/Application Support") / app / "widgets/widget.json");
  // A present but empty home field is used as it is: the location is then relative.
  EXPECT_EQ(FeedFile::locate(std::string(""), "/e").string().rfind("Library/Application Support/", 0), 0u);
  const passwd* pw = ::getpwuid(::getuid());
  EXPECT_TRUE(pw == nullptr || FeedFile::url() == FeedFile::locate(std::string(pw->pw_dir), "/not-this"));
}

}  // namespace
}  // namespace ostrel
