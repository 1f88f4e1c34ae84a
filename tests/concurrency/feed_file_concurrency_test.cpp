// Eight threads load the feed 10,000 times each while another thread rewrites it, by rename (every
// load sees one whole document) or in place (a load may see a torn file, which is `missing`, never a
// feed that was not written).
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
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

const std::string kOff = R"({"v":1,"enabled":false,"at":"2026-03-02T10:00:00Z","classes":[]})";

/// A switched-on document of some kilobytes, so that a read takes more than one system call's worth
/// of a writer's progress. Both documents are written on one line and differ from their first field
/// on: a read torn between the two must not make a third valid document by chance (an in-place
/// write gives no other guarantee), which pretty-printed documents sharing their opening lines do.
std::string onDocument() {
  std::string s = R"({"v":1,"enabled":true,"at":"2026-03-02T10:00:00Z","week":"Week 10 of 13","classes":[)";
  for (int i = 0; i < 40; ++i) {
    s += (i ? "," : "");
    s += R"({"unit":"FINC3600","title":"Lecture )" + std::to_string(i) +
         R"(","where":"ABS 1010","start":"2026-03-02T1)" + std::to_string(i % 10) +
         R"(:00:00Z","end":"2026-03-02T1)" + std::to_string(i % 10) +
         R"(:50:00.000+00:00","color":{"light":"#A91991","dark":"#EA86D9"}})";
  }
  return s + R"(],"cards":3})";
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

  const std::string& content(int i) const { return i % 2 == 0 ? kOff : on_; }

  std::string on_ = onDocument();
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
