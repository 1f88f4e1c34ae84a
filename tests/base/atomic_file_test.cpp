#include "base/atomic_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(AtomicFileTest, RefusesWhatIsNotARegularFileAndLeavesItAlone) {
  const fs::path fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const fs::path& p : {dir_, fifo, fs::path("/dev/null")}) {
    const auto w = AtomicFile::write(p, "x");
    ASSERT_FALSE(w) << p;
    EXPECT_EQ(w.error().kind, FileError::Kind::notRegular) << p;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(AtomicFileTest, AFailedWriteLeavesTheOldFileWhole) {
  const fs::path missing = dir_ / "no" / "such" / "face.png";
  const auto w = AtomicFile::write(missing, "x");
  ASSERT_FALSE(w);
  EXPECT_EQ(w.error().kind, FileError::Kind::unwritable);
  EXPECT_EQ(w.error().path, missing);
  EXPECT_FALSE(w.error().reason.empty());
  if (::geteuid() != 0) {
    const fs::path p = dir_ / "face.png";
    ASSERT_TRUE(AtomicFile::write(p, "old"));
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(AtomicFile::write(p, "new"));
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(contents(p), "old");
  }
}

}  // namespace
}  // namespace ostrel
