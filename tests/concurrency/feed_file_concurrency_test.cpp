// Eight threads load the feed 10,000 times each while another thread rewrites it, by rename (every
// load sees one whole document) or in place (a load may see a torn file, which is `missing`, never a
// feed that was not written).
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "feed/feed_file.hpp"
#include "support/scratch.hpp"
#include "together.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

constexpr int kReaders = 8;
constexpr int kLoadsEach = 10'000;

/// The bytes of a feed under tests/data/faces/: switched off, or switched on with forty classes (some
/// kilobytes, so that a read takes more than one system call's worth of a writer's progress).
std::string document(const std::string& name) {
  std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/tests/data/faces/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Tally {
  std::atomic<int> feed{0}, off{0}, missing{0}, unexpected{0};
};

class FeedFileConcurrency : public test_support::ScratchTest {
 protected:
  /// Loads from kReaders threads while `rewrite(i)` runs in a loop on another thread.
  template <class Rewrite>
  void loadWhile(Rewrite rewrite, Tally& tally) {
    const fs::path p = dir_ / "widget.json";
    std::ofstream(p, std::ios::binary) << on_;
    const Loaded expected = FeedFile::load(p);
    ASSERT_EQ(expected.which(), Loaded::Case::feed);

    std::atomic<bool> stop{false};
    std::thread writer([&] {
      for (int i = 0; !stop.load(std::memory_order_relaxed); ++i) rewrite(p, i);
    });
    test_support::together(kReaders, [&](int) {
      for (int i = 0; i < kLoadsEach; ++i) {
        const Loaded got = FeedFile::load(p);
        switch (got.which()) {
          case Loaded::Case::feed:
            ++(got == expected ? tally.feed : tally.unexpected);
            break;
          case Loaded::Case::off:
            ++tally.off;
            break;
          case Loaded::Case::missing:
            ++tally.missing;
            break;
        }
      }
    });
    stop = true;
    writer.join();
  }

  const std::string& content(int i) const { return i % 2 == 0 ? off_ : on_; }

  std::string on_ = document("forty-classes.json"), off_ = document("off.json");
};

TEST_F(FeedFileConcurrency, LoadsDuringRenamesSeeWholeDocuments) {
  Tally tally;
  loadWhile(
      [&](const fs::path& p, int i) {
        const fs::path next = dir_ / ("next" + std::to_string(i % 4));
        std::ofstream(next, std::ios::binary) << content(i);
        fs::rename(next, p);
      },
      tally);
  EXPECT_EQ(tally.unexpected, 0);
  EXPECT_EQ(tally.missing, 0);
  EXPECT_EQ(tally.feed + tally.off, kReaders * kLoadsEach);
}

TEST_F(FeedFileConcurrency, LoadsDuringInPlaceWritesSeeNoOtherFeed) {
  Tally tally;
  loadWhile(
      [&](const fs::path& p, int i) { std::ofstream(p, std::ios::binary | std::ios::trunc) << content(i); },
      tally);
  EXPECT_EQ(tally.unexpected, 0);
  EXPECT_EQ(tally.feed + tally.off + tally.missing, kReaders * kLoadsEach);
}

}  // namespace
}  // namespace ostrel
