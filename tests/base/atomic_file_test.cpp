#include "base/atomic_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "support/golden.hpp"
#include "support/scratch.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public test_support::ScratchTest {};

TEST_F(AtomicFileTest, CreatesAndReplacesWholeFilesLeavingNoTemporary) {
  const fs::path p = dir_ / "face.png";
  ASSERT_TRUE(AtomicFile::write(p, "first"));
  ASSERT_TRUE(AtomicFile::write(p, "second"));
  EXPECT_EQ(test_support::readBytes(p), "second");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);
}

}  // namespace
}  // namespace ostrel
