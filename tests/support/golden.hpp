#pragma once
/// \file golden.hpp
/// Golden files, for tests that compare what they produce with a reviewed copy under tests/golden/.
/// One switch for all of them: with UPDATE_GOLDEN=1 in the environment a golden test rewrites its
/// file instead of comparing (then read the diff); any other value, or none, compares.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::test_support {

/// Whether this run rewrites golden files: UPDATE_GOLDEN is set to "1".
inline bool updatingGoldens() {
  const char* value = std::getenv("UPDATE_GOLDEN");
  return value != nullptr && std::string_view(value) == "1";
}

/// A golden file's path: `relative` under tests/golden/.
inline std::filesystem::path goldenPath(const std::string& relative) {
  return std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/golden" / relative;
}

/// Where a failing test leaves what it produced: beside the golden file, "x.png" as "x.actual.png".
/// Such files are ignored by git.
inline std::filesystem::path actualPath(const std::filesystem::path& golden) {
  std::filesystem::path p = golden;
  p.replace_extension(".actual" + golden.extension().string());
  return p;
}

/// The bytes of a file, or nothing when it cannot be read.
inline std::optional<std::string> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Writes `bytes` to `path`; false when it could not.
inline bool writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

}  // namespace ostrel::test_support
