#include "base/atomic_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/scratch.hpp"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::size_t entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

class AtomicFileTest : public test_support::ScratchTest {};

TEST_F(AtomicFileTest, CreatesAndReplacesWholeFilesLeavingNoTemporary) {
  const fs::path p = dir_ / "face.png";
  ASSERT_TRUE(AtomicFile::write(p, "first"));
  ASSERT_TRUE(AtomicFile::write(p, "second"));
  EXPECT_EQ(contents(p), "second");
  EXPECT_EQ(entries(dir_), 1u);
}

}  // namespace
}  // namespace ostrel
