#pragma once
/// \file scratch.hpp
/// For tests that work with files: a fixture owning a fresh directory under the system's temporary
/// one, removed with everything in it afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace ostrel::test_support {

class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  /// Writes `content` to `name` in the directory and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& content) const {
    const std::filesystem::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  /// Writes `content` to a new file in the directory and returns its path.
  std::filesystem::path write(const std::string& content) {
    return write("feed" + std::to_string(++files_) + ".json", content);
  }

  std::filesystem::path dir_;
  int files_ = 0;
};

}  // namespace ostrel::test_support
